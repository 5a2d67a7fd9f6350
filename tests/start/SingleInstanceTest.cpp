// One running program per folder: a later start from the same folder is refused and makes the
// running one show its control panel; other folders, and a folder whose program has ended, are free.
#include "start/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

TEST(SingleInstance, ALaterStartFromTheSameFolderAsksForThePanelAndIsRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto first = std::make_unique<SingleInstance>(dir.path());
    QSignalSpy shown(first.get(), &SingleInstance::ShowRequested);
    ASSERT_TRUE(first->Claim());
    EXPECT_TRUE(QFile::exists(SingleInstance::LockFileName(dir.path())));

    SingleInstance second(dir.path());
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(shown.wait(3000));
    EXPECT_EQ(shown.count(), 1);

    // However long the first one has run, its lock stands while it lives.
    namespace fs = std::filesystem;
    const fs::path lock = SingleInstance::LockFileName(dir.path()).toStdString();
    fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::hours(48));
    SingleInstance third(dir.path() + QStringLiteral("/.")); // the same folder, spelled otherwise
    EXPECT_FALSE(third.Claim());
    EXPECT_TRUE(shown.wait(3000));
    EXPECT_EQ(shown.count(), 2);

    // Another folder is another program's.
    QTemporaryDir elsewhere;
    SingleInstance other(elsewhere.path());
    EXPECT_TRUE(other.Claim());
    EXPECT_NE(SingleInstance::ServerName(elsewhere.path()), SingleInstance::ServerName(dir.path()));

    // Once the first one has ended, its folder is free and leaves no lock file behind.
    first.reset();
    EXPECT_FALSE(QFile::exists(SingleInstance::LockFileName(dir.path())));
    SingleInstance next(dir.path());
    EXPECT_TRUE(next.Claim());
}

TEST(SingleInstance, ALockLeftByAProgramThatIsGoneIsTakenOver) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // What a killed program leaves: its lock file, naming a process that no longer runs.
    QFile lock(SingleInstance::LockFileName(dir.path()));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("2147483646\nLookabout\n\n");
    lock.close();
    SingleInstance instance(dir.path());
    EXPECT_TRUE(instance.Claim());
}
