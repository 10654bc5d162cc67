#include "addins/Form_AddIns.h"

#include "addins/AddInRuntime.h"
#include "program/PrintableText.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "errors/ErrorGuard.h"

#include "Command.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QVBoxLayout>

namespace {
constexpr const char *kModule = "Form_AddIns";

// A plain caption strip above and below the list.
QLabel *captionStrip(const QString &text, const QString &name, QWidget *parent)
{
    auto *strip = new QLabel(text, parent);
    strip->setObjectName(name);
    strip->setAutoFillBackground(true);
    QPalette colours = strip->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Highlight));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::HighlightedText));
    strip->setPalette(colours);
    strip->setMargin(3);
    QFont font = strip->font();
    font.setBold(true);
    strip->setFont(font);
    return strip;
}
} // namespace

Form_AddIns::Form_AddIns(AddInRuntime &runtime, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_runtime(runtime)
{
    setObjectName(QStringLiteral("Form_AddIns"));
    setWindowTitle(tr("AddIn"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    ShortcutCaption1 = captionStrip(tr("AddIn"), QStringLiteral("ShortcutCaption1"), this);
    layout->addWidget(ShortcutCaption1);
    lstAddIns = new QListWidget(this);
    lstAddIns->setObjectName(QStringLiteral("lstAddIns"));
    lstAddIns->setAccessibleName(tr("AddIn"));
    layout->addWidget(lstAddIns);
    ShortcutCaption2 = captionStrip(QString(), QStringLiteral("ShortcutCaption2"), this);
    ShortcutCaption2->setFixedHeight(6);
    layout->addWidget(ShortcutCaption2);

    cmdOk = new Command(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setCaption(tr("&OK"));
    cmdOk->setFixedSize(90, 25);
    connect(cmdOk, &Command::Click, this, &Form_AddIns::cmdOk_Click);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdOk);
    layout->addLayout(buttonRow);

    resize(480, 260);
    Form_Load();
}

Form_AddIns::~Form_AddIns()
{
    Form_Unload();
}

void Form_AddIns::Form_Load()
{
    m_addIns = m_runtime.oAddIns();
    if (m_addIns)
        connect(m_addIns, &clsAddIns::Refresh, this, &Form_AddIns::oAddIns_Refresh);
}

void Form_AddIns::Form_Unload()
{
    if (m_addIns)
        disconnect(m_addIns, nullptr, this, nullptr);
    m_addIns = nullptr;
}

QString Form_AddIns::itemLine(const clsAddIn &addIn)
{
    // The texts come from the add-ins: nothing in them may steer the list's text.
    const QString separator = QStringLiteral("; ");
    return printableText(addIn.AddInName()) + separator + printableText(addIn.AddInVersion())
        + separator + printableText(addIn.AddInCopyright()) + separator
        + QLocale::system().toString(addIn.AddInCreateDate(), QLocale::ShortFormat);
}

void Form_AddIns::ShowItems()
{
    guarded(kModule, "ShowItems", [&] {
        lstAddIns->clear();
        if (!m_addIns)
            return;
        for (int i = 1; i <= m_addIns->Count(); ++i)
            if (const clsAddIn *addIn = m_addIns->Item(i))
                lstAddIns->addItem(itemLine(*addIn));
    });
}

void Form_AddIns::oAddIns_Refresh()
{
    ShowItems();
}

void Form_AddIns::cmdOk_Click()
{
    close();
}

void Form_AddIns::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
