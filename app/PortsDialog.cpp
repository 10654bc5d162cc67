#include "app/PortsDialog.h"

#include "platform/NetworkPortAddress.h"
#include "platform/SettingsStore.h"
#include "platform/SwitchingSerialPort.h"
#include "platform/UserDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("Ports");

QString keyOf(int portNumber)
{
    return QStringLiteral("Com%1").arg(portNumber);
}

QString itemText(const SerialPortList::Device &device)
{
    QStringList about;
    if (!device.description.isEmpty())
        about << device.description;
    if (!device.manufacturer.isEmpty())
        about << device.manufacturer;
    QString text = device.path;
    if (!about.isEmpty())
        text += QStringLiteral("  (%1)").arg(about.join(QStringLiteral(", ")));
    return text;
}
} // namespace

PortsDialog::PortsDialog(SerialPortList *ports, SettingsStore *settings, UserDialogs *dialogs,
                         QWidget *parent)
    : QDialog(parent)
    , m_ports(ports)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
    setWindowTitle(tr("Ports"));
    auto *layout = new QVBoxLayout(this);
    auto *intro
        = new QLabel(tr("Choose the serial device of each port, or enter the address of a "
                        "serial-to-network bridge as tcp://host:port. Leave a port empty for "
                        "its default device. Changes take effect at the next connect."),
                     this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    for (int n = 1; n <= kPorts; ++n) {
        auto *edit = new QComboBox(this);
        edit->setEditable(true);
        edit->setInsertPolicy(QComboBox::NoInsert);
        edit->setMinimumContentsLength(40);
        edit->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        edit->lineEdit()->setPlaceholderText(QStringLiteral("/dev/ttyS%1").arg(n - 1));
        edit->setAccessibleName(tr("Com %1").arg(n));
        connect(edit, &QComboBox::currentTextChanged, this, &PortsDialog::updateNote);
        form->addRow(tr("Com %1:").arg(n), edit);
        m_edits.append(edit);
    }
    layout->addLayout(form);

    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *refreshButton = buttons->addButton(tr("&Refresh"), QDialogButtonBox::ActionRole);
    connect(refreshButton, &QPushButton::clicked, this, &PortsDialog::refresh);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortsDialog::reject);
    layout->addWidget(buttons);

    for (int n = 1; n <= kPorts; ++n) {
        const QString stored = m_settings ? m_settings->readValue(kSection, keyOf(n)).trimmed()
                                          : QString();
        portEdit(n)->setEditText(stored);
    }
    refresh();
}

void PortsDialog::refresh()
{
    m_devices = m_ports ? m_ports->devices() : QList<SerialPortList::Device>();
    for (int n = 1; n <= kPorts; ++n) {
        QComboBox *edit = portEdit(n);
        const QString entered = portName(n);
        const QSignalBlocker blocker(edit);
        edit->clear();
        for (const SerialPortList::Device &device : m_devices)
            edit->addItem(itemText(device), device.path);
        const int listed = edit->findData(entered);
        if (listed >= 0)
            edit->setCurrentIndex(listed);
        else
            edit->setEditText(entered);
    }
    updateNote();
}

QString PortsDialog::portName(int portNumber) const
{
    const QComboBox *edit = portEdit(portNumber);
    const QString text = edit->currentText().trimmed();
    const int listed = edit->findText(edit->currentText());
    if (listed >= 0 && !edit->itemData(listed).toString().isEmpty())
        return edit->itemData(listed).toString();
    return text;
}

QString PortsDialog::note() const
{
    return m_note->text();
}

const SerialPortList::Device *PortsDialog::listedDevice(const QString &path) const
{
    for (const SerialPortList::Device &device : m_devices) {
        if (device.path == path || device.systemLocation == path)
            return &device;
    }
    return nullptr;
}

void PortsDialog::updateNote()
{
    QStringList lines;
    if (m_devices.isEmpty())
        lines << tr("No serial devices found.");
    for (int n = 1; n <= kPorts && n <= m_edits.size(); ++n) {
        const SerialPortList::Device *device = listedDevice(portName(n));
        if (device && !device->accessible) {
            lines << tr("Com %1: ").arg(n)
                    + SwitchingSerialPort::permissionAdvice(device->systemLocation, device->owner,
                                                            device->group, device->permissions);
        }
    }
    m_note->setText(lines.join(QLatin1Char('\n')));
}

QString PortsDialog::checkPortName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QString();
    if (NetworkPortAddress::isNetworkName(trimmed)) {
        if (NetworkPortAddress::parse(trimmed))
            return QString();
        return tr("\"%1\" is not a valid network address. Write tcp://host:port "
                  "with a port from 1 to 65535.")
            .arg(trimmed);
    }
    if (trimmed.startsWith(QLatin1Char('/')))
        return QString();
    return tr("\"%1\" is neither a device path (such as /dev/ttyUSB0) nor a "
              "network address (tcp://host:port).")
        .arg(trimmed);
}

void PortsDialog::accept()
{
    for (int n = 1; n <= kPorts; ++n) {
        const QString problem = checkPortName(portName(n));
        if (!problem.isEmpty()) {
            UserDialogs::Message message;
            message.text = tr("Com %1: %2").arg(n).arg(problem);
            message.icon = UserDialogs::Icon::Exclamation;
            message.title = windowTitle();
            if (m_dialogs)
                m_dialogs->messageBox(message);
            portEdit(n)->setFocus();
            return;
        }
    }
    if (m_settings) {
        for (int n = 1; n <= kPorts; ++n) {
            QString name = portName(n);
            // Network addresses are stored in their plain form.
            if (const auto address = NetworkPortAddress::parse(name))
                name = address->toString();
            m_settings->writeValue(kSection, keyOf(n), name);
        }
        const QString failure = m_settings->flush();
        if (!failure.isEmpty()) {
            UserDialogs::Message message;
            message.text = tr("The ports could not be saved: %1").arg(failure);
            message.icon = UserDialogs::Icon::Exclamation;
            message.title = windowTitle();
            if (m_dialogs)
                m_dialogs->messageBox(message);
            return;
        }
    }
    QDialog::accept();
}
