// Reads any settings file with the INI reader and the command bar's section
// finder. The input's first line is the section asked for, its second the
// key, the rest the file's bytes. Besides never failing, the first
// occurrence of a key wins: a pair written before the file is found, and a
// pair written after it does not change a value the file already gives.
#include "FuzzSupport.h"

#include "controls/commandbar/ModUtilVekBar.h"
#include "platform/core/Runtime.h"
#include "platform/util/Dll_ArchivoIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace bar = controls::ModUtilVekBar;

namespace {

const QString kFile = QStringLiteral("cn000pr.ini");
const QString kAbsent = QStringLiteral("<absent>");

QString read(const QByteArray& bytes, const QString& section, const QString& key)
{
    static QTemporaryDir folder;
    static const bool set = [] {
        platform::Runtime::instance().setProgramFolder(folder.path());
        // No command line names a data base: the bar takes the section's.
        bar::EstablecerLineaDeComandos(QString());
        return true;
    }();
    (void)set;
    QFile file(QDir(folder.path()).filePath(kFile));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz_support::fault("the settings file cannot be written");
    file.close();
    return platform::Dll_ArchivoIni().LeerValor(kFile, section, key, kAbsent);
}

// A name that a line "[name]" or "name=value" gives back as it is.
bool plain(const QString& name)
{
    const QString t = name.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#') || t.startsWith(u'['))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == u'[' || c == u']' || c == u'=')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype first = input.indexOf('\n');
    const qsizetype second = first < 0 ? -1 : input.indexOf('\n', first + 1);
    if (second < 0)
        return 0;
    const QString section = QString::fromLatin1(input.left(first));
    const QString key = QString::fromLatin1(input.mid(first + 1, second - first - 1));
    const QByteArray bytes = input.mid(second + 1);

    const QString value = read(bytes, section, key);
    (void)bar::FindStylesSection(kFile);
    (void)bar::ResolveStyleSection(kFile, section, key);
    (void)bar::LoadBarStyle(section, key);
    (void)bar::ReadStyleSetting(kFile, section);

    if (!plain(section) || !plain(key) || bytes.startsWith("\xEF\xBB\xBF"))
        return 0;
    const QByteArray pair = '[' + section.toLatin1() + "]\r\n" + key.toLatin1() + "=fuzz\r\n";
    if (read(pair + bytes, section, key) != QLatin1String("fuzz"))
        fuzz_support::fault("a pair before the file is not the first occurrence", QString::fromLatin1(input));
    if (value != kAbsent && read(bytes + "\r\n" + pair, section, key) != value)
        fuzz_support::fault("a pair after the file changed the value it gave", QString::fromLatin1(input));
    return 0;
}
