#include "json/cStringBuilder.h"

#include "platform/core/RunTimeError.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace json {

namespace {

using platform::RunTimeError;

// Sizes are counted in bytes of 32-bit arithmetic, two bytes a character.
constexpr qsizetype kMaxCharacters = std::numeric_limits<int32_t>::max() / 2;

} // namespace

void cStringBuilder::setChunkSize(int32_t iChunkSize)
{
    if (iChunkSize > kMaxCharacters || iChunkSize < -kMaxCharacters) {
        throw RunTimeError::overflow();
    }
    m_chunkSize = iChunkSize;
}

void cStringBuilder::Grow(qsizetype characters)
{
    const qsizetype capacity = m_buffer.size();
    if (characters <= capacity) {
        return;
    }
    const qsizetype chunk = std::max<qsizetype>(1, m_chunkSize);
    const qsizetype chunks = (characters - capacity + chunk - 1) / chunk;
    const qsizetype grown = capacity + chunks * chunk;
    if (grown > kMaxCharacters) {
        throw RunTimeError::overflow();
    }
    m_buffer.resize(grown, u' ');
}

void cStringBuilder::setTheString(QStringView sThis)
{
    if (sThis.isEmpty()) {
        Clear();
        return;
    }
    Grow(sThis.size());
    std::fill(m_buffer.begin() + sThis.size(), m_buffer.begin() + std::max(m_used, sThis.size()), u' ');
    std::memcpy(m_buffer.data(), sThis.data(), std::size_t(sThis.size()) * sizeof(QChar));
    m_used = sThis.size();
}

void cStringBuilder::Clear()
{
    m_buffer = QString();
    m_used = 0;
}

void cStringBuilder::AppendNL(QStringView sThis)
{
    Append(sThis);
    Append(u"\r\n");
}

void cStringBuilder::Append(QStringView sThis)
{
    Insert(Length(), sThis);
}

void cStringBuilder::AppendByVal(QString sThis)
{
    Append(sThis);
}

void cStringBuilder::Insert(int32_t iIndex, QStringView sThis)
{
    if (iIndex < 0 || iIndex > m_used) {
        throw RunTimeError::subscriptOutOfRange();
    }
    if (sThis.isEmpty()) {
        return;
    }
    Grow(m_used + sThis.size());
    QChar* data = m_buffer.data();
    std::memmove(data + iIndex + sThis.size(), data + iIndex, std::size_t(m_used - iIndex) * sizeof(QChar));
    std::memcpy(data + iIndex, sThis.data(), std::size_t(sThis.size()) * sizeof(QChar));
    m_used += sThis.size();
}

void cStringBuilder::InsertByVal(int32_t iIndex, QString sThis)
{
    Insert(iIndex, sThis);
}

void cStringBuilder::Remove(int32_t iIndex, int32_t lLen)
{
    if (iIndex < 0 || lLen < 0 || qsizetype(iIndex) + lLen > m_used) {
        throw RunTimeError::subscriptOutOfRange();
    }
    if (lLen == 0) {
        return;
    }
    QChar* data = m_buffer.data();
    const qsizetype tail = m_used - iIndex - lLen;
    std::memmove(data + iIndex, data + iIndex + lLen, std::size_t(tail) * sizeof(QChar));
    std::fill(data + iIndex + tail, data + m_used, u' ');
    m_used -= lLen;
}

int32_t cStringBuilder::Find(QStringView sToFind, int32_t lStartIndex, Qt::CaseSensitivity compare) const
{
    const qsizetype from = std::max(lStartIndex, 1) - 1;
    if (from > m_used) {
        return 0;
    }
    return int32_t(QStringView(m_buffer.constData(), m_used).indexOf(sToFind, from, compare) + 1);
}

void cStringBuilder::HeapMinimize()
{
    const qsizetype chunk = std::max<qsizetype>(1, m_chunkSize);
    const qsizetype spare = m_buffer.size() - m_used;
    if (spare <= chunk) {
        return;
    }
    m_buffer.resize(m_buffer.size() - (spare - 1) / chunk * chunk);
    m_buffer.squeeze();
}

} // namespace json
