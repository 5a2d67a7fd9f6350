// Ends the program through EndProgram when the session ends it (SIGTERM, SIGINT, logout),
// so nothing the user changed is lost.
#pragma once

class QObject;

void InstallEndSignals(QObject* parent);
