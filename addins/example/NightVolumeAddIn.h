#pragma once

#include <OrvaneAddIn.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

// Keeps the main volume at night below a limit: whenever the receiver shows a main
// volume above it, the add-in steps the volume down once more. The limit, in dB, is
// the key "Limit" of the add-in's own settings (organisation "Orvane", application
// "NightVolume", e.g. "Limit=-30"); without a limit the add-in only listens.
class NightVolumeAddIn : public QObject
{
    Q_OBJECT
public:
    static inline const QString kVolumeDown = QStringLiteral("07A1B");

    explicit NightVolumeAddIn(QObject *parent = nullptr);

    Q_INVOKABLE void AddInLoader_Name(QString &stName);
    Q_INVOKABLE void AddInLoader_Version(QString &stVersion);
    Q_INVOKABLE void AddInLoader_Copyright(QString &stCopyright);
    Q_INVOKABLE void AddInLoader_Load(clsAddIn *oAddIn);

private:
    void volumeMain(float db);

    QPointer<clsAddIn> m_addIn;
    std::optional<float> m_limit;
};
