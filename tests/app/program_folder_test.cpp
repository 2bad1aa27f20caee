#include "app/program_folder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace pagora;

namespace {

QString download_folder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return downloads.isEmpty() ? QDir::homePath() : downloads;
}

// A home of its own, as the download folder is made when missing.
void use_home_inside(const QString& folder)
{
    const QString home = folder + QStringLiteral("/home");
    ASSERT_EQ(::setenv("HOME", QFile::encodeName(home).constData(), 1), 0);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DOWNLOAD_DIR");
    ASSERT_TRUE(download_folder().startsWith(home));
}

TEST(ProgramFolder, IsTheProgramsFolderWhenItIsWritable)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(choose_program_folder(folder.path()), folder.path());
}

TEST(ProgramFolder, FallsBackToTheDownloadFolderWhenThereIsNoWritableFolder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    use_home_inside(folder.path());
    EXPECT_EQ(choose_program_folder(folder.path() + QStringLiteral("/missing")), download_folder());
    EXPECT_EQ(choose_program_folder(QString()), download_folder());
    EXPECT_TRUE(QDir(download_folder()).exists());
}

// Run as root, /usr/bin is writable; books still must not land there.
TEST(ProgramFolder, AnInstalledProgramUsesTheDownloadFolder)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    use_home_inside(home.path());
    for (const char* installed : {"/usr/bin", "/usr/local/bin", "/opt/pagora/bin", "/bin"})
        EXPECT_EQ(choose_program_folder(QString::fromLatin1(installed)), download_folder()) << installed;
    // A folder of the user's own stays the program's folder.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(choose_program_folder(folder.path()), folder.path());
}

TEST(ProgramFolder, FallsBackToTheDownloadFolderWhenTheProgramsFolderIsReadOnly)
{
    if (geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    use_home_inside(home.path());
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    EXPECT_EQ(choose_program_folder(folder.path()), download_folder());
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
}

} // namespace
