#include "Medidas.h"

#include <QFile>

#include <cstdio>

namespace bench {

namespace {

long statusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray wanted(key);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(wanted)) {
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

} // namespace

int AbortingOperator::MsgBox(const QString& prompt, int, const QString&)
{
    std::printf("question: %s\n", qPrintable(prompt));
    return platform::msgbox::Abort;
}

void AbortingOperator::TimedMsgBox(const QString& prompt, int, const QString&, int)
{
    std::printf("message: %s\n", qPrintable(prompt));
}

long residentKb()
{
    return statusKb("VmRSS:");
}

long peakKb()
{
    return statusKb("VmHWM:");
}

void resetPeakKb()
{
    // Writing 5 to clear_refs resets the peak to the current resident size.
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) {
        refs.write("5");
    }
}

} // namespace bench
