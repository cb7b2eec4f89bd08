#include "support/JetFile.h"

#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"

#include <QDate>
#include <QFile>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace testing_support {

namespace {

using platform::Variant;

constexpr int kPageSize = 4096;

// Column type codes of a table definition.
constexpr uint8_t kTypeInteger = 0x03;
constexpr uint8_t kTypeLong = 0x04;
constexpr uint8_t kTypeMoney = 0x05;
constexpr uint8_t kTypeDateTime = 0x08;
constexpr uint8_t kTypeText = 0x0A;
constexpr uint8_t kTypeLongBinary = 0x0B;

// Pages of the file.
constexpr uint32_t kMapsPage = 1;
constexpr uint32_t kCatalogDefinitionPage = 2;
constexpr uint32_t kCatalogDataPage = 3;
constexpr uint32_t kTableDefinitionPage = 4;
constexpr uint32_t kTableDataPage = 5;
constexpr uint32_t kPageCount = 6;

// The header's obfuscated stretch and the key of its RC4 stream.
constexpr int kHeaderMaskStart = 0x18;
constexpr int kHeaderMaskLength = 128;
constexpr int kJet3HeaderMaskLength = 126;
constexpr std::array<uint8_t, 4> kHeaderKey{0xC7, 0xDA, 0x39, 0x6B};
constexpr int kPasswordOffset = 0x42;
constexpr int kPasswordLength = 40;
constexpr int kCreationDateOffset = 0x72;

// The catalogue's flags for a system table.
constexpr uint32_t kSystemObject = 0x80000002;

class Bytes
{
public:
    explicit Bytes(int size = 0) : m_data(size, '\0') {}

    void set8(int at, uint8_t v) { m_data[at] = char(v); }
    void set16(int at, uint16_t v)
    {
        set8(at, uint8_t(v));
        set8(at + 1, uint8_t(v >> 8));
    }
    void set32(int at, uint32_t v)
    {
        set16(at, uint16_t(v));
        set16(at + 2, uint16_t(v >> 16));
    }
    void set64(int at, uint64_t v)
    {
        set32(at, uint32_t(v));
        set32(at + 4, uint32_t(v >> 32));
    }
    void setDouble(int at, double v)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        set64(at, bits);
    }

    void add8(uint8_t v) { m_data.append(char(v)); }
    void add16(uint16_t v)
    {
        add8(uint8_t(v));
        add8(uint8_t(v >> 8));
    }
    void add32(uint32_t v)
    {
        add16(uint16_t(v));
        add16(uint16_t(v >> 16));
    }
    void add(const QByteArray& bytes) { m_data.append(bytes); }

    int size() const { return int(m_data.size()); }
    QByteArray& data() { return m_data; }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

QByteArray ucs2(const QString& text)
{
    QByteArray out;
    for (const QChar ch : text) {
        out.append(char(ch.unicode() & 0xFF));
        out.append(char(ch.unicode() >> 8));
    }
    return out;
}

// Days since 30 December 1899, the time of day as the fraction.
double jetDate(const platform::DateTime& value)
{
    const qint64 days = QDate(1899, 12, 30).daysTo(value.date());
    return double(days) + double(value.time().msecsSinceStartOfDay()) / 86400000.0;
}

void rc4(QByteArray& data, int start, int length, const std::array<uint8_t, 4>& key)
{
    std::array<uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i) {
        s[std::size_t(i)] = uint8_t(i);
    }
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[std::size_t(i)] + key[std::size_t(i) % key.size()]) & 0xFF;
        std::swap(s[std::size_t(i)], s[std::size_t(j)]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[std::size_t(i)]) & 0xFF;
        std::swap(s[std::size_t(i)], s[std::size_t(j)]);
        data[start + n] = char(uint8_t(data[start + n]) ^ s[(s[std::size_t(i)] + s[std::size_t(j)]) & 0xFF]);
    }
}

// A column as a table definition describes it and a row stores it.
struct ColumnLayout
{
    QString name;
    uint8_t type = kTypeText;
    uint16_t length = 0; // bytes
    bool fixed = false;
    uint16_t fixedOffset = 0;
    uint16_t variableIndex = 0;
};

std::vector<ColumnLayout> layOut(const std::vector<std::pair<QString, std::pair<uint8_t, uint16_t>>>& columns)
{
    std::vector<ColumnLayout> out;
    uint16_t fixedOffset = 0;
    uint16_t variableIndex = 0;
    for (const auto& [name, typeAndLength] : columns) {
        ColumnLayout c;
        c.name = name;
        c.type = typeAndLength.first;
        c.length = typeAndLength.second;
        c.fixed = c.type != kTypeText && c.type != kTypeLongBinary;
        if (c.fixed) {
            c.fixedOffset = fixedOffset;
            fixedOffset = uint16_t(fixedOffset + c.length);
        } else {
            c.variableIndex = variableIndex++;
        }
        out.push_back(c);
    }
    return out;
}

// A row: the column count, the fixed columns, the variable ones, then from the
// end backwards the null mask, the count of variable columns, their offsets
// and the end of their data.
QByteArray encodeRow(const std::vector<ColumnLayout>& columns, const std::vector<Variant>& values)
{
    EXPECT_EQ(columns.size(), values.size());
    uint16_t fixedLength = 0;
    std::vector<const ColumnLayout*> variable;
    for (const ColumnLayout& c : columns) {
        if (c.fixed) {
            fixedLength = qMax<uint16_t>(fixedLength, uint16_t(c.fixedOffset + c.length));
        } else {
            variable.push_back(&c);
        }
    }
    Bytes row(2 + fixedLength);
    row.set16(0, uint16_t(columns.size()));
    QByteArray nullMask((int(columns.size()) + 7) / 8, '\0');
    std::vector<uint16_t> variableOffsets(variable.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout& c = columns[i];
        const Variant& v = values[i];
        if (!v.isNull()) {
            nullMask[int(i / 8)] = char(uint8_t(nullMask[int(i / 8)]) | (1u << (i % 8)));
        }
        if (!c.fixed || v.isNull()) {
            continue;
        }
        const int at = 2 + c.fixedOffset;
        switch (c.type) {
        case kTypeInteger:
            row.set16(at, uint16_t(v.toInteger().value_or(0)));
            break;
        case kTypeLong:
            row.set32(at, uint32_t(v.toInteger().value_or(0)));
            break;
        case kTypeMoney:
            row.set64(at, uint64_t(v.toCurrency().value_or(platform::Currency()).units()));
            break;
        case kTypeDateTime:
            row.setDouble(at, jetDate(v.toDate().value_or(platform::DateTime())));
            break;
        default:
            ADD_FAILURE() << "no fixed layout for column type " << int(c.type);
        }
    }
    for (const ColumnLayout* c : variable) {
        variableOffsets[c->variableIndex] = uint16_t(row.size());
        const Variant& v = values[std::size_t(c - columns.data())];
        if (!v.isNull()) {
            const QByteArray text = ucs2(v.toText());
            EXPECT_LE(text.size(), c->length) << c->name.toStdString();
            row.add(text);
        }
    }
    row.add16(uint16_t(row.size()));
    for (auto it = variableOffsets.rbegin(); it != variableOffsets.rend(); ++it) {
        row.add16(*it);
    }
    row.add16(uint16_t(variable.size()));
    row.add(nullMask);
    return row.data();
}

Bytes dataPage(uint32_t definitionPage, const std::vector<QByteArray>& rows)
{
    Bytes page(kPageSize);
    page.set8(0, 0x01);
    page.set8(1, 0x01);
    page.set32(4, definitionPage);
    page.set16(12, uint16_t(rows.size()));
    int end = kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int start = end - int(rows[i].size());
        std::memcpy(page.data().data() + start, rows[i].constData(), std::size_t(rows[i].size()));
        page.set16(14 + 2 * int(i), uint16_t(start));
        end = start;
    }
    const int tableEnd = 14 + 2 * int(rows.size());
    EXPECT_LE(tableEnd, end) << "the rows do not fit one page";
    page.set16(2, uint16_t(end - tableEnd));
    return page;
}

// A usage map held in place: its first page, then one bit per page.
QByteArray usageMap(std::initializer_list<uint32_t> pages)
{
    Bytes map(64);
    for (uint32_t p : pages) {
        map.set8(5 + int(p / 8), uint8_t(uint8_t(map.data()[5 + int(p / 8)]) | (1u << (p % 8))));
    }
    return map.data();
}

// The pointer to row `row` of page `page`.
constexpr uint32_t rowPointer(uint32_t page, uint32_t row)
{
    return (page << 8) | row;
}

Bytes definitionPage(const std::vector<ColumnLayout>& columns, uint32_t rowCount, bool system, uint32_t usedPages,
                     uint32_t freePages)
{
    Bytes page(kPageSize);
    page.set8(0, 0x02);
    page.set8(1, 0x01);
    page.set32(16, rowCount);
    page.set8(40, system ? 0x53 : 0x4E);
    uint16_t variableCount = 0;
    for (const ColumnLayout& c : columns) {
        variableCount = uint16_t(variableCount + (c.fixed ? 0 : 1));
    }
    page.set16(41, uint16_t(columns.size()));
    page.set16(43, variableCount);
    page.set16(45, uint16_t(columns.size()));
    page.set32(55, usedPages);
    page.set32(59, freePages);
    Bytes tail;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout& c = columns[i];
        tail.add8(c.type);
        tail.add32(0);
        tail.add16(uint16_t(i));
        tail.add16(c.variableIndex);
        tail.add16(uint16_t(i));
        tail.add16(c.type == kTypeText ? 0x0409 : 0);
        tail.add16(0);
        tail.add8(c.fixed ? 0x03 : 0x02);
        tail.add8(0);
        tail.add32(0);
        tail.add16(c.fixedOffset);
        tail.add16(c.length);
    }
    for (const ColumnLayout& c : columns) {
        const QByteArray name = ucs2(c.name);
        tail.add16(uint16_t(name.size()));
        tail.add(name);
    }
    tail.add16(0xFFFF);
    const int end = 63 + tail.size();
    std::memcpy(page.data().data() + 63, tail.data().constData(), std::size_t(tail.size()));
    page.set32(8, uint32_t(end - 8));
    page.set16(2, uint16_t(kPageSize - end - 8));
    return page;
}

// The header page of a Jet 4 file, or with `jet3` of a Jet 3 one (2 KB
// pages, a shorter hidden stretch, the password in single bytes unmasked).
Bytes headerPage(const QString& password, bool jet3 = false)
{
    Bytes page(jet3 ? kPageSize / 2 : kPageSize);
    page.set32(0, 0x00000100);
    std::memcpy(page.data().data() + 4, "Standard Jet DB", 15);
    page.set32(0x14, jet3 ? 0 : 1);
    page.set16(0x3C, 1252);
    if (jet3) {
        const QByteArray secret = password.toLatin1().left(kPasswordLength / 2);
        std::memcpy(page.data().data() + kPasswordOffset, secret.constData(), std::size_t(secret.size()));
    } else {
        const double created = jetDate(platform::DateTime(QDate(2024, 3, 18), QTime(8, 0)));
        page.setDouble(kCreationDateOffset, created);
        // Jet 4 keeps the password in UCS-2, masked with the whole days of the creation date.
        Bytes mask(4);
        mask.set32(0, uint32_t(int32_t(created)));
        const QByteArray secret = ucs2(password.left(kPasswordLength / 2));
        for (int i = 0; i < kPasswordLength; ++i) {
            const uint8_t plain = i < secret.size() ? uint8_t(secret[i]) : 0;
            page.set8(kPasswordOffset + i, plain ^ uint8_t(mask.data()[i % 4]));
        }
    }
    rc4(page.data(), kHeaderMaskStart, jet3 ? kJet3HeaderMaskLength : kHeaderMaskLength, kHeaderKey);
    return page;
}

void writePages(const QString& path, const std::vector<Bytes>& pages)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    for (const Bytes& page : pages) {
        ASSERT_EQ(file.write(page.data()), page.size()) << path.toStdString();
    }
}

} // namespace

void writeJet4File(const QString& path, const JetTable& table, const QString& password)
{
    const std::vector<ColumnLayout> catalogColumns = layOut({
        {QStringLiteral("Id"), {kTypeLong, 4}},
        {QStringLiteral("ParentId"), {kTypeLong, 4}},
        {QStringLiteral("Name"), {kTypeText, 256}},
        {QStringLiteral("Type"), {kTypeInteger, 2}},
        {QStringLiteral("Flags"), {kTypeLong, 4}},
        {QStringLiteral("LvProp"), {kTypeLongBinary, 0}},
    });
    std::vector<std::pair<QString, std::pair<uint8_t, uint16_t>>> described;
    for (const JetColumn& c : table.columns) {
        switch (c.type) {
        case JetType::Text:
            described.push_back({c.name, {kTypeText, uint16_t(2 * c.length)}});
            break;
        case JetType::LongInteger:
            described.push_back({c.name, {kTypeLong, 4}});
            break;
        case JetType::Money:
            described.push_back({c.name, {kTypeMoney, 8}});
            break;
        case JetType::DateTime:
            described.push_back({c.name, {kTypeDateTime, 8}});
            break;
        }
    }
    const std::vector<ColumnLayout> tableColumns = layOut(described);

    const int64_t tablesFolder = 0x0F000001;
    const std::vector<QByteArray> catalogRows{
        encodeRow(catalogColumns, {Variant(int64_t(kCatalogDefinitionPage)), Variant(tablesFolder),
                                   Variant(QStringLiteral("MSysObjects")), Variant(1), Variant(int64_t(kSystemObject)),
                                   Variant::null()}),
        encodeRow(catalogColumns, {Variant(int64_t(kTableDefinitionPage)), Variant(tablesFolder), Variant(table.name),
                                   Variant(1), Variant(0), Variant::null()}),
    };
    std::vector<QByteArray> tableRows;
    for (const auto& values : table.rows) {
        tableRows.push_back(encodeRow(tableColumns, values));
    }

    std::vector<Bytes> pages;
    pages.push_back(headerPage(password));
    pages.push_back(
        dataPage(0, {usageMap({0, 1, 2, 3, 4, 5}), usageMap({kCatalogDataPage}), usageMap({kCatalogDataPage}),
                     usageMap({kTableDataPage}), usageMap({kTableDataPage})}));
    pages.push_back(definitionPage(catalogColumns, uint32_t(catalogRows.size()), true, rowPointer(kMapsPage, 1),
                                   rowPointer(kMapsPage, 2)));
    pages.push_back(dataPage(kCatalogDefinitionPage, catalogRows));
    pages.push_back(definitionPage(tableColumns, uint32_t(tableRows.size()), false, rowPointer(kMapsPage, 3),
                                   rowPointer(kMapsPage, 4)));
    pages.push_back(dataPage(kTableDefinitionPage, tableRows));
    EXPECT_EQ(pages.size(), std::size_t(kPageCount));
    writePages(path, pages);
}

void writeJet3Header(const QString& path, const QString& password)
{
    writePages(path, {headerPage(password, true)});
}

JetTable articulosJet()
{
    using platform::Currency;
    using platform::DateTime;
    JetTable t;
    t.name = QStringLiteral("Articulos");
    t.columns = {
        {QStringLiteral("Codigo"), JetType::Text, 10},   {QStringLiteral("Descripcion"), JetType::Text, 40},
        {QStringLiteral("Stock"), JetType::LongInteger}, {QStringLiteral("Precio"), JetType::Money},
        {QStringLiteral("Alta"), JetType::DateTime},
    };
    t.rows = {
        {Variant("0001"), Variant(u"Café Ñandú"), Variant(12), Variant(Currency::fromUnits(12345678)),
         Variant(DateTime(QDate(2024, 3, 18), QTime(8, 5, 30)))},
        {Variant("0002"), Variant::null(), Variant(-3), Variant(Currency::fromUnits(-5000)),
         Variant(DateTime(QDate(1999, 12, 31)))},
        {Variant("0003"), Variant("Azúcar 1 kg"), Variant(0), Variant(Currency::fromUnits(0)), Variant::null()},
    };
    return t;
}

} // namespace testing_support
