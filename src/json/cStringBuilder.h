#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace json {

// Collects text in a buffer that grows in whole chunks, so that building a
// long text from many small pieces does not copy it on every addition. The
// part of the buffer beyond the used length holds blanks. Positions given to
// Insert and Remove are 0-based characters; Find answers 1-based positions.
//
// Raises platform::RunTimeError 9 for a position or length outside the used
// text, and 6 (overflow) when a size would not fit 32-bit byte counts.
class cStringBuilder
{
public:
    int32_t Length() const { return int32_t(m_used); }
    int32_t Capacity() const { return int32_t(m_buffer.size()); }
    int32_t ChunkSize() const { return m_chunkSize; }
    // A chunk size of 0 or less grows the buffer by just what each addition needs.
    void setChunkSize(int32_t iChunkSize);
    QString toString() const { return m_buffer.left(m_used); }
    // An empty text clears the builder; the capacity never shrinks otherwise.
    void setTheString(QStringView sThis);
    void Clear();
    void AppendNL(QStringView sThis);
    void Append(QStringView sThis);
    void AppendByVal(QString sThis);
    // Inserts before character `iIndex` (0 to Length).
    void Insert(int32_t iIndex, QStringView sThis);
    void InsertByVal(int32_t iIndex, QString sThis);
    // Removes `lLen` characters from character `iIndex`; the capacity stays.
    void Remove(int32_t iIndex, int32_t lLen);
    // 1-based position of `sToFind` in the used text from 1-based
    // `lStartIndex` (below 1 searches from the start); 0 when absent.
    int32_t Find(QStringView sToFind, int32_t lStartIndex = 1, Qt::CaseSensitivity compare = Qt::CaseSensitive) const;
    // Gives back whole chunks while more than one chunk is spare.
    void HeapMinimize();

private:
    // Raises the capacity by whole chunks until `characters` fit.
    void Grow(qsizetype characters);

    // Its size is the capacity.
    QString m_buffer;
    int32_t m_chunkSize = 8192;
    qsizetype m_used = 0;
};

} // namespace json
