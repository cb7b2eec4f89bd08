// Jet files read through MDB Tools: what a file must be before the driver is
// given it, its data-base password, and the rule that keeps it read-only.
#include "platform/db/odbc/OdbcInternal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace platform::db::odbc {

namespace {

const QString kJetSource = QStringLiteral("Microsoft JET Database Engine");

// ADO's number for a write that the data base refuses.
constexpr int32_t kPermissionDenied = int32_t(0x80040E09);

// The header page: the format's name, its version, and a stretch hidden under
// an RC4 stream of a fixed key, which holds the password and (Jet 4) the
// creation date whose whole days mask it.
constexpr int kVersionOffset = 0x14;
constexpr int kMaskedStart = 0x18;
constexpr int kPasswordOffset = 0x42;
constexpr int kCreationDateOffset = 0x72;
constexpr std::array<uint8_t, 4> kHeaderKey{0xC7, 0xDA, 0x39, 0x6B};

struct JetVersion
{
    int maskedLength;
    int passwordLength;
    bool unicode;
};
constexpr JetVersion kJet3{126, 20, false};
constexpr JetVersion kJet4{128, 40, true};

void unmask(QByteArray& header, int length)
{
    std::array<uint8_t, 256> s{};
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] = uint8_t(i);
    }
    for (std::size_t i = 0, j = 0; i < s.size(); ++i) {
        j = (j + s[i] + kHeaderKey[i % kHeaderKey.size()]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < std::size_t(length); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        const qsizetype at = kMaskedStart + qsizetype(n);
        header[at] = char(uint8_t(header[at]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

// The data-base password kept in an unmasked header; empty when it has none.
QString storedPassword(const QByteArray& header, const JetVersion& version)
{
    QByteArray secret = header.mid(kPasswordOffset, version.passwordLength);
    if (!version.unicode) {
        const qsizetype end = secret.indexOf('\0');
        return QString::fromLatin1(end < 0 ? secret : secret.left(end));
    }
    double created = 0;
    std::memcpy(&created, header.constData() + kCreationDateOffset, sizeof created);
    // A damaged date masks with nothing rather than overflow the conversion.
    const double whole = std::floor(created);
    const uint32_t days = std::isfinite(whole) && whole >= double(std::numeric_limits<int32_t>::min()) &&
                                  whole <= double(std::numeric_limits<int32_t>::max())
                              ? uint32_t(int32_t(whole))
                              : 0;
    for (qsizetype i = 0; i < secret.size(); ++i) {
        secret[i] = char(uint8_t(secret[i]) ^ uint8_t(days >> (8 * (i % 4))));
    }
    QString out;
    for (qsizetype i = 0; i + 1 < secret.size(); i += 2) {
        const char16_t unit = char16_t(uint8_t(secret[i]) | (uint8_t(secret[i + 1]) << 8));
        if (unit == 0) {
            break;
        }
        out += QChar(unit);
    }
    return out;
}

[[noreturn]] void fail(int jetNumber, const QString& description, std::vector<ErrorInfo>& errors)
{
    const ErrorInfo info = jetError(jetNumber, description);
    errors.push_back(info);
    throw DbError(info);
}

bool isWordChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_';
}

} // namespace

ErrorInfo jetError(int jetNumber, const QString& description)
{
    return ErrorInfo{adErr::Generic, description, kJetSource, QString::number(jetNumber), jetNumber};
}

void checkJetFile(const QString& path, const QString& password, std::vector<ErrorInfo>& errors)
{
    const QFileInfo info(path);
    if (path.isEmpty() || path.contains(u';') || !info.dir().exists()) {
        fail(jet::kInvalidPath,
             QStringLiteral("'%1' is not a valid path. Make sure that the path name is spelled correctly%2.")
                 .arg(path, path.contains(u';') ? QStringLiteral(" and holds no \";\", which the MDB Tools driver "
                                                                 "cannot be given")
                                                : QString()),
             errors);
    }
    if (!info.exists()) {
        fail(jet::kFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path), errors);
    }
    if (!info.isFile()) {
        fail(jet::kCannotOpen, QStringLiteral("Cannot open the file '%1': it is not a file.").arg(path), errors);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(jet::kCannotOpen, QStringLiteral("Cannot open the file '%1': %2.").arg(path, file.errorString()), errors);
    }
    QByteArray header = file.read(kMaskedStart + kJet4.maskedLength);
    const bool named = header.size() == kMaskedStart + kJet4.maskedLength &&
                       header.startsWith(QByteArray::fromRawData("\x00\x01\x00\x00", 4)) &&
                       header.mid(4, 16) == QByteArray("Standard Jet DB", 16);
    const char version = named ? header[kVersionOffset] : char(-1);
    if (version != 0 && version != 1) {
        fail(jet::kUnrecognizedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(path), errors);
    }
    const JetVersion& layout = version == 0 ? kJet3 : kJet4;
    unmask(header, layout.maskedLength);
    const QString stored = storedPassword(header, layout);
    if (!stored.isEmpty() && stored != password) {
        fail(jet::kInvalidPassword, QStringLiteral("Not a valid password."), errors);
    }
}

ErrorInfo jetUnreadableError(const QString& path)
{
    return jetError(jet::kCannotOpen,
                    QStringLiteral("Cannot open the file '%1': the MDB Tools driver cannot read it.").arg(path));
}

bool onlyReads(const QString& sql)
{
    // Each statement's words outside literals, quoted names and comments:
    // the first must be SELECT, and none INTO (SELECT ... INTO makes a table).
    const qsizetype n = sql.size();
    bool first = true;
    for (qsizetype i = 0; i < n;) {
        const QChar ch = sql[i];
        if (ch == u'\'' || ch == u'"' || ch == u'[') {
            const QChar close = ch == u'[' ? QChar(u']') : ch;
            const qsizetype end = sql.indexOf(close, i + 1);
            i = end < 0 ? n : end + 1;
            if (first) {
                return false;
            }
        } else if (ch == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            i = end < 0 ? n : end + 1;
        } else if (ch == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (ch == u';') {
            first = true;
            ++i;
        } else if (isWordChar(ch)) {
            qsizetype end = i;
            while (end < n && isWordChar(sql[end])) {
                ++end;
            }
            const QStringView word = QStringView(sql).mid(i, end - i);
            if ((first && word.compare(u"select", Qt::CaseInsensitive) != 0) ||
                word.compare(u"into", Qt::CaseInsensitive) == 0) {
                return false;
            }
            first = false;
            i = end;
        } else {
            if (first && !ch.isSpace() && ch != u'(') {
                return false;
            }
            ++i;
        }
    }
    return true;
}

ErrorInfo jetReadOnlyError(const QString& path)
{
    return ErrorInfo{kPermissionDenied,
                     QStringLiteral("Cannot update: the Jet file '%1' is open for reading only.").arg(path), kJetSource,
                     QString::number(jet::kReadOnly), jet::kReadOnly};
}

} // namespace platform::db::odbc
