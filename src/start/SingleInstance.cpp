// One running program per folder: a lock file in the folder, and a local socket (InstanceChannel)
// through which a later start asks the running program for its control panel.
#include "start/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cstdlib>

namespace {

// std::exit (after the fatal message) skips main's locals; the lock file must go all the same,
// or it would sit in the user's folder until the next start finds its owner gone.
QLockFile* gHeldLock = nullptr;

void ReleaseHeldLock() {
    if (gHeldLock)
        gHeldLock->unlock();
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), mServerName(ServerName(folder)), mLock(LockFileName(folder)), mChannel(mServerName) {
    // A lock is never old enough to take over while its owner lives: the program runs for days.
    // A lock whose owner has gone (killed, crashed) is taken over at once.
    mLock.setStaleLockTime(0);
    connect(&mChannel, &InstanceChannel::ShowRequested, this, &SingleInstance::ShowRequested);
}

SingleInstance::~SingleInstance() {
    if (gHeldLock == &mLock)
        gHeldLock = nullptr;
}

QString SingleInstance::ServerName(const QString& folder) {
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(QDir(folder).absolutePath());
#ifdef Q_OS_WIN
    path = path.toLower(); // one folder, however its name is spelled
#endif
    const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("Lookabout-") + QString::fromLatin1(digest.left(32));
}

QString SingleInstance::LockFileName(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral(".Lookabout.ini.lock"));
}

bool SingleInstance::Claim() {
    if (mLock.tryLock(0)) {
        gHeldLock = &mLock;
        static const bool registered = std::atexit(ReleaseHeldLock) == 0;
        (void)registered;
        Listen();
        return true;
    }
    if (mLock.error() == QLockFile::LockFailedError) {
        // Held by a program that runs; it may still be starting, so give it a moment to listen.
        AskRunningProgram(3000);
        return false;
    }
    // No lock file can be made here (a read-only folder, where no save can succeed either): the
    // socket alone tells whether a program runs from the folder.
    if (AskRunningProgram(0))
        return false;
    return Listen();
}

bool SingleInstance::Listen() {
    return mChannel.Listen(mLock.isLocked());
}

bool SingleInstance::AskRunningProgram(int patienceMs) const {
    const QDeadlineTimer deadline(patienceMs);
    for (;;) {
        if (InstanceChannel::Ask(mServerName))
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
}
