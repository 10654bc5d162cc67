#pragma once

#include <QString>

// The program-wide list of registered add-ins and its broadcasts. Until add-in
// components can connect, the list stays empty and every broadcast reaches no one.
class clsAddIns
{
public:
    int Count() const { return m_count; }

    void SendUnload(long &Cancel);
    void SendTerminate();
    void SemdIncommingCommand(const QString &stData);
    void SemdIncommingSettings(const QString &stData);
    void SemdVolumeMain(float sVol);
    void SemdVolumeZone2(float sVol);

private:
    int m_count = 0;
};
