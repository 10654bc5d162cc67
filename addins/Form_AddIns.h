#pragma once

#include <QPointer>
#include <QWidget>

class AddInRuntime;
class Command;
class QLabel;
class QListWidget;
class clsAddIn;
class clsAddIns;

// The add-ins window "AddIn": one line per registered add-in (name, version,
// copyright, creation moment), kept up to date while the window is open. It only
// shows the list. Closing it (OK or the close box) unloads it.
class Form_AddIns : public QWidget
{
    Q_OBJECT
public:
    // Shows the add-ins of `runtime`.
    explicit Form_AddIns(AddInRuntime &runtime, QWidget *parent = nullptr);
    ~Form_AddIns() override;

    // Rebuilds the list from the program's add-in list.
    void ShowItems();
    // One line of the list.
    static QString itemLine(const clsAddIn &addIn);

    QLabel *ShortcutCaption1 = nullptr;
    QListWidget *lstAddIns = nullptr;
    QLabel *ShortcutCaption2 = nullptr;
    Command *cmdOk = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void oAddIns_Refresh();
    void cmdOk_Click();

    AddInRuntime &m_runtime;
    QPointer<clsAddIns> m_addIns;
};
