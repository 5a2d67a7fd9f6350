// The local socket through which a later start from the same folder asks the running program for
// its control panel. One file per platform implements this header: on Linux a socket of the
// abstract namespace read through QtCore alone, elsewhere QtNetwork's local server.
#pragma once

#include <QObject>
#include <QString>

class InstanceChannel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceChannel)

public:
    explicit InstanceChannel(const QString& name, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Starts listening on the name; false when it is taken. `holdingLock`: this program holds the
    // folder's lock file, so a socket file that a killed program left behind may be removed first.
    bool Listen(bool holdingLock);

    // One try at asking the program that listens on `name` for its panel; false when none could
    // be reached.
    static bool Ask(const QString& name);

signals:
    // A later start asked for the control panel.
    void ShowRequested();

private:
    // What a later start sends: one line.
    static constexpr char kShowPanel[] = "show-panel\n";
    QString mName;
};
