#include "support/DemoServer.h"

#include "demo/DemoBuilder.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

namespace testing_support {

QString demoServer()
{
    const QString folder = QDir(testFolder()).filePath(QStringLiteral("demo"));
    demo::BuildOptions options;
    options.folder = folder;
    const demo::BuildResult built = demo::buildDemoServer(options);
    EXPECT_TRUE(built.ok) << built.error.toStdString();
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database=%2;UId=x;Pwd=y;Connect Timeout=5;")
        .arg(folder, QString::fromLatin1(demo::kMainDatabase));
}

} // namespace testing_support
