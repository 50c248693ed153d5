// Every input kept from fuzzing (and a few made by hand for the same paths) is read again:
// directories must equal the one-pass-per-step reading, playlists must keep their
// invariants. Under the sanitizer build any out-of-bounds access fails here too.
#include "channel_text_checks.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void replay(const QString& folder, std::string (*check)(std::span<const uint8_t>)) {
    const QString dir = QStringLiteral(TIANBO_TEST_DATA "/") + folder + QStringLiteral("/regress");
    const QStringList files = QDir(dir).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << dir.toStdString();
    for (const QString& name : files) {
        QFile f(dir + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(check({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())}), "")
            << name.toStdString();
    }
}

} // namespace

TEST(ChannelTextRegress, DirectoryInputsReadAsTheWrittenSteps) {
    replay(QStringLiteral("directory"), checks::directory);
}

TEST(ChannelTextRegress, PlaylistInputsKeepTheirInvariants) { replay(QStringLiteral("playlist"), checks::playlist); }
