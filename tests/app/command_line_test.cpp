// The program's command line: what it asks for, and what the program answers without a
// window system.
#include "app/command_line.h"
#include "app/config.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(CommandLine, OptionsAndItems) {
    struct Case {
        QStringList args;
        QString config;
        bool newInstance, help, version;
        QStringList items;
        bool error;
    };
    const Case cases[] = {
        {{}, {}, false, false, false, {}, false},
        {{"--config", "a.conf", "x.m3u", "http://h/s.ts"},
         "a.conf",
         false,
         false,
         false,
         {"x.m3u", "http://h/s.ts"},
         false},
        {{"--config=b.conf", "--new-instance"}, "b.conf", true, false, false, {}, false},
        {{"-h"}, {}, false, true, false, {}, false},
        {{"--version", "--help"}, {}, false, true, true, {}, false},
        // After "--" everything is an item, and a lone "-" is one too.
        {{"--", "--help", "-"}, {}, false, false, false, {"--help", "-"}, false},
        {{"-", "--config", "c"}, "c", false, false, false, {"-"}, false},
        {{"--config"}, {}, false, false, false, {}, true},
        {{"--config="}, {}, false, false, false, {}, true},
        {{"--config", ""}, {}, false, false, false, {}, true},
        {{"--fullscreen"}, {}, false, false, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const app::CommandLine got = app::ParseCommandLine(c.args);
        EXPECT_EQ(got.configPath, c.config);
        EXPECT_EQ(got.newInstance, c.newInstance);
        EXPECT_EQ(got.help, c.help);
        EXPECT_EQ(got.version, c.version);
        EXPECT_EQ(got.items, c.items);
        EXPECT_EQ(!got.error.isEmpty(), c.error);
    }
}

// --help and --version answer with no display at all; a usage error exits 2 with the usage.
TEST(CommandLine, TheProgramAnswersWithoutADisplay) {
    struct Case {
        QStringList args;
        int exitCode;
        QString out;
        bool usageOnStderr;
    };
    const Case cases[] = {
        {{"--version"}, 0, QStringLiteral("tianbo %1\n").arg(QString::fromLatin1(app::config::kVersion)), false},
        {{"--help"}, 0, app::UsageText(), false},
        {{"--bogus"}, 2, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TIANBO_BINARY_DIR "/src/app/tianbo"), c.args);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitCode(), c.exitCode);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), c.out);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("Usage: tianbo")),
                  c.usageOnStderr);
    }
}
