// One running program per folder. Two programs started from the same folder would each save
// their own characters over the other's when they end; the second one instead asks the running
// one to bring its control panel forward, and ends.
#pragma once

#include "start/InstanceChannel.h"

#include <QLockFile>
#include <QObject>
#include <QString>

class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    // `folder` is the program's folder, which holds the settings file.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True: no other program runs from the folder; this one now holds it and listens for later
    // starts. False: another one runs from it and has been asked to show its control panel.
    bool Claim();

    // The name later starts use to reach the running program; one per folder.
    static QString ServerName(const QString& folder);
    // The lock file in the folder, held while the program runs.
    static QString LockFileName(const QString& folder);

signals:
    // A later start from the same folder asked for the control panel.
    void ShowRequested();

private:
    bool Listen();
    // Asks the program that holds the folder to show its panel; false when it could not be reached.
    bool AskRunningProgram(int patienceMs) const;

    QString mServerName;
    QLockFile mLock;
    InstanceChannel mChannel;
};
