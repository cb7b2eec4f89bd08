#include "MillionRowDemo.h"

#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace bench {

QString millionRowDemo(int argc, char** argv)
{
    const QString given = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString folder =
        QFileInfo(given.isEmpty() ? QDir::tempPath() + QStringLiteral("/cp-bench-1m") : given).absoluteFilePath();
    if (QFileInfo::exists(folder + u'/' + QString::fromLatin1(demo::kMainDatabase) + QStringLiteral(".sqlite")))
        return folder;
    std::printf("building the million-row demo in %s ...\n", qPrintable(folder));
    demo::BuildOptions options;
    options.folder = folder;
    options.historyRows = 1000000;
    const demo::BuildResult built = demo::buildDemoServer(options);
    if (!built.ok) {
        std::fprintf(stderr, "demo build failed: %s\n", qPrintable(built.error));
        return {};
    }
    std::printf("built %lld history rows in %.1f s\n", built.historyRows, built.seconds);
    return folder;
}

QString millionRowConnection(int argc, char** argv)
{
    const QString folder = millionRowDemo(argc, argv);
    if (folder.isEmpty()) {
        return {};
    }
    platform::Runtime::instance().setProgramFolder(QDir(folder).absoluteFilePath(QStringLiteral("..")));
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=x;Pwd=y;Connect Timeout=5;")
        .arg(QDir(folder).absolutePath(), QString::fromLatin1(demo::kMainDatabase));
}

} // namespace bench
