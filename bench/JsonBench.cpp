// Times the JSON reader on a 10 MB document of nested objects and arrays and
// measures the memory the parse and its tree take at their peak, beside the
// same document read directly by QJsonDocument::fromJson from its UTF-8
// bytes. Each reader runs three times, its tree built and dropped; the best
// time counts, and the peak is the highest resident size during one run
// above the size before it. Then times a command script of 2,000 sets that
// each copy a variable of 16,777,216 characters into another (the variable
// made beforehand), and its peak.
#include "json/JSON.h"
#include "json/cJSONScript.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QString>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr qsizetype kTargetBytes = 10 * 1024 * 1024;
constexpr int kRuns = 3;

// One sale: an object with texts, numbers, Booleans, null, an array of texts
// and an array of line objects that hold objects of their own.
void appendSale(QString& out, int id, std::mt19937& random)
{
    std::uniform_int_distribution<int> n(0, 99999);
    out += QStringLiteral("{\"id\": %1, \"branch\": \"Sucursal %2\", \"letter\": \"%3\", \"customer\": "
                          "{\"name\": \"Cliente \\\"%4\\\" S.A.\", \"city\": \"C\\u00f3rdoba\", \"vip\": %5},"
                          " \"total\": %6.%7, \"void\": null, \"tags\": [\"retail\", \"promo %8\"], \"lines\": [")
               .arg(id)
               .arg(n(random) % 40)
               .arg(QChar(u'A' + n(random) % 3))
               .arg(n(random))
               .arg(n(random) % 2 ? QStringLiteral("true") : QStringLiteral("false"))
               .arg(n(random))
               .arg(n(random) % 10000, 4, 10, QChar(u'0'))
               .arg(n(random) % 12);
    const int lines = 1 + n(random) % 6;
    for (int l = 0; l < lines; ++l) {
        if (l > 0) {
            out += u',';
        }
        out += QStringLiteral("{\"code\": \"ART%1\", \"qty\": %2, \"price\": {\"list\": %3.%4, \"discount\": "
                              "[%5, 0.5, 1e-2]}}")
                   .arg(n(random), 6, 10, QChar(u'0'))
                   .arg(1 + n(random) % 20)
                   .arg(n(random))
                   .arg(n(random) % 100, 2, 10, QChar(u'0'))
                   .arg(n(random) % 30);
    }
    out += QStringLiteral("]}");
}

QString makeDocument()
{
    std::mt19937 random(42);
    QString out = QStringLiteral("{\"sales\": [\n");
    out.reserve(kTargetBytes + 4096);
    for (int id = 1; out.size() < kTargetBytes; ++id) {
        if (id > 1) {
            out += QStringLiteral(",\n");
        }
        appendSale(out, id, random);
    }
    out += QStringLiteral("\n]}\n");
    return out;
}

// Kibibytes of a "Vm..." line of /proc/self/status.
long statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

// Lets the next run's peak start from the present size.
bool resetPeak()
{
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

struct Figures
{
    double bestMs = 0;
    double peakMiB = 0;
};

// Runs `parse` (which keeps its tree until it returns) kRuns times.
Figures measure(const std::function<void()>& parse)
{
    Figures f;
    for (int run = 0; run < kRuns; ++run) {
        const bool reset = resetPeak();
        const long before = statusKiB("VmRSS");
        QElapsedTimer timer;
        timer.start();
        parse();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        f.bestMs = run == 0 ? ms : std::min(f.bestMs, ms);
        if (reset) {
            f.peakMiB = std::max(f.peakMiB, double(statusKiB("VmHWM") - before) / 1024.0);
        }
    }
    return f;
}

void report(const char* what, const Figures& f, double megabytes)
{
    std::printf("%-40s %8.1f ms %8.1f MB/s   peak +%6.1f MB\n", what, f.bestMs, megabytes / (f.bestMs / 1000.0),
                f.peakMiB);
}

} // namespace

int main()
{
    const QString text = makeDocument();
    const QByteArray bytes = text.toUtf8();
    const double megabytes = double(bytes.size()) / (1024.0 * 1024.0);
    std::printf("document: %.1f MB of nested objects and arrays\n", megabytes);

    const Figures reader = measure([&] {
        const platform::Variant tree = json::ParseDocument(text);
        if (!json::LastParseErrors().isEmpty() || tree.isEmpty()) {
            std::printf("the reader failed: %s\n", qPrintable(json::LastParseErrors().left(200)));
        }
    });
    const Figures direct = measure([&] {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError) {
            std::printf("fromJson failed: %s\n", qPrintable(error.errorString()));
        }
    });

    // x is "ab" doubled 23 times, then copied into y 2,000 times.
    QString doubling = QStringLiteral("[{'set': {'name': 'x', 'value': 'ab'}}");
    for (int i = 0; i < 23; ++i) {
        doubling +=
            QStringLiteral(", {'set': {'name': 'x', 'value': [{'get': {'name': 'x'}}, {'get': {'name': 'x'}}]}}");
    }
    doubling += u']';
    QString copies = QStringLiteral("[");
    for (int i = 0; i < 2000; ++i) {
        copies += QStringLiteral("{'set': {'name': 'y', 'value': {'get': {'name': 'x'}}}},");
    }
    copies += u']';
    json::cJSONScript interpreter;
    const QString doubled = interpreter.Eval(doubling);
    const Figures script = measure([&] {
        const QString output = doubled + interpreter.Eval(copies);
        if (!output.isEmpty()) {
            std::printf("the script failed: %s\n", qPrintable(output.left(200)));
        }
    });

    report("JSON reader (ParseDocument)", reader, megabytes);
    report("direct: QJsonDocument::fromJson", direct, megabytes);
    std::printf("ratio reader / direct: time %.2f, peak memory %.2f\n", reader.bestMs / direct.bestMs,
                direct.peakMiB > 0 ? reader.peakMiB / direct.peakMiB : 0.0);
    std::printf("%-40s %8.1f ms   peak +%6.1f MB\n", "script: 2,000 copies of 16 M characters", script.bestMs,
                script.peakMiB);
    return 0;
}
