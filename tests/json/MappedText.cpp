#include "MappedText.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

namespace json_tests {

namespace {

constexpr std::size_t kPage = 4096;
constexpr qsizetype kPageCharacters = qsizetype(kPage / sizeof(char16_t));
constexpr std::size_t kPieceBytes = std::size_t(MappedText::kPieceCharacters) * sizeof(char16_t);

// Sizes the memory file `file` to one piece and fills it with `fill`.
bool fillPiece(int file, char16_t fill)
{
    if (ftruncate(file, off_t(kPieceBytes)) != 0) {
        return false;
    }
    void* piece = mmap(nullptr, kPieceBytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    if (piece == MAP_FAILED) {
        return false;
    }
    std::fill_n(static_cast<char16_t*>(piece), MappedText::kPieceCharacters, fill);
    munmap(piece, kPieceBytes);
    return true;
}

// A writable page of its own at `at`.
char16_t* mapPage(char* at)
{
    void* page = mmap(at, kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    return page == MAP_FAILED ? nullptr : static_cast<char16_t*>(page);
}

} // namespace

MappedText::MappedText(QStringView head, char16_t fill, qsizetype pieces, QStringView tail)
{
    if (head.size() > kPageCharacters || tail.size() > kPageCharacters) {
        return;
    }
    const int file = memfd_create("MappedText", 0);
    if (file < 0) {
        return;
    }
    // A page that ends in the head, the pieces, and a page that starts with the tail.
    const std::size_t bytes = kPage + std::size_t(pieces) * kPieceBytes + kPage;
    void* region = fillPiece(file, fill)
                       ? mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)
                       : MAP_FAILED;
    if (region != MAP_FAILED) {
        m_base = static_cast<char*>(region);
        m_bytes = bytes;
    }
    bool mapped = m_base != nullptr;
    for (qsizetype i = 0; mapped && i < pieces; ++i) {
        mapped = mmap(m_base + kPage + std::size_t(i) * kPieceBytes, kPieceBytes, PROT_READ,
                      MAP_SHARED | MAP_FIXED | MAP_POPULATE, file, 0) != MAP_FAILED;
    }
    close(file);
    char16_t* const first = mapped ? mapPage(m_base) : nullptr;
    char16_t* const last = first ? mapPage(m_base + m_bytes - kPage) : nullptr;
    if (!last) {
        release();
        return;
    }
    char16_t* const start = first + kPageCharacters - head.size();
    std::copy(head.utf16(), head.utf16() + head.size(), start);
    std::copy(tail.utf16(), tail.utf16() + tail.size(), last);
    m_text = QString::fromRawData(reinterpret_cast<const QChar*>(start),
                                  head.size() + pieces * kPieceCharacters + tail.size());
}

MappedText::~MappedText()
{
    release();
}

void MappedText::release()
{
    m_text = QString();
    if (m_base) {
        munmap(m_base, m_bytes);
        m_base = nullptr;
    }
}

} // namespace json_tests
