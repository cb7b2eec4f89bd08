#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>

namespace json_tests {

// A text of `head`, then `pieces` times 1,048,576 characters `fill`, then
// `tail`, that costs almost no memory: one piece of the fill is mapped again
// and again side by side, so a text of gigabytes takes a few megabytes. The
// QString refers to the mapping, which lives as long as this object; isValid()
// says whether the mapping could be made. `head` and `tail` are short (at most
// 2,048 characters each).
class MappedText
{
public:
    static constexpr qsizetype kPieceCharacters = qsizetype(1) << 20;

    MappedText(QStringView head, char16_t fill, qsizetype pieces, QStringView tail);
    ~MappedText();
    MappedText(const MappedText&) = delete;
    MappedText& operator=(const MappedText&) = delete;

    bool isValid() const { return m_base != nullptr; }
    const QString& text() const { return m_text; }

private:
    void release();

    char* m_base = nullptr;
    std::size_t m_bytes = 0;
    QString m_text;
};

} // namespace json_tests
