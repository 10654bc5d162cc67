#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class PlayerRemote;
class ProgramHost;
class ProgramValues;
class UserDialogs;
class clsAddIns;

// What the add-ins share while the program runs: the list of registered add-ins, the
// program they act on, the player and the dialogs they use, how to load the main window
// when an outside program registers before it is there. The start-up owns one; it is
// handed to every part that needs it.
class AddInRuntime : public QObject
{
public:
    explicit AddInRuntime(UserDialogs *dialogs = nullptr, PlayerRemote *player = nullptr,
                          QObject *parent = nullptr);
    ~AddInRuntime() override;
    AddInRuntime(const AddInRuntime &) = delete;
    AddInRuntime &operator=(const AddInRuntime &) = delete;

    // The registered add-ins; none between closeAddIns() and the next openAddIns(). The
    // list is there from the start.
    clsAddIns *oAddIns() const { return m_addIns.get(); }
    // Creates the list when there is none.
    void openAddIns();
    // Releases the list: the main window has unloaded and hears no add-in any more.
    void closeAddIns();

    // The program the add-ins act on, while the main window is loaded.
    ProgramHost *host() const { return m_host; }
    void setHost(ProgramHost *host) { m_host = host; }
    PlayerRemote *player() const { return m_player; }
    void setPlayer(PlayerRemote *player) { m_player = player; }
    // The program-wide values (closing, mini mode); none before the start-up sets them.
    const ProgramValues *values() const { return m_values; }
    void setValues(const ProgramValues *values) { m_values = values; }
    UserDialogs *dialogs() const { return m_dialogs; }
    void setDialogs(UserDialogs *dialogs) { m_dialogs = dialogs; }

    // Creates and loads the main window; set by the start-up while it waits.
    void setMainWindowLoader(std::function<void()> loader) { m_loader = std::move(loader); }
    // Runs the loader when one is set; false when there is none.
    bool loadMainWindow() const;
    // What Quit does while no main window is loaded (the start-up wait).
    void setQuitWithoutWindow(std::function<void()> quit) { m_quitWithoutWindow = std::move(quit); }
    // Runs that quit when one is set; false when there is none.
    bool quitWithoutWindow() const
    {
        if (!m_quitWithoutWindow)
            return false;
        m_quitWithoutWindow();
        return true;
    }

    // The folders searched for add-in components; the default ones when none are set.
    QStringList addInFolders() const;
    void setAddInFolders(const QStringList &folders) { m_addInFolders = folders; }

private:
    std::unique_ptr<clsAddIns> m_addIns;
    ProgramHost *m_host = nullptr;
    const ProgramValues *m_values = nullptr;
    PlayerRemote *m_player = nullptr;
    UserDialogs *m_dialogs = nullptr;
    std::function<void()> m_loader;
    std::function<void()> m_quitWithoutWindow;
    QStringList m_addInFolders;
};
