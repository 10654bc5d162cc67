#include "addins/AddInRuntime.h"

#include "addins/AddInComponents.h"
#include "addins/clsAddIns.h"

AddInRuntime::AddInRuntime(UserDialogs *dialogs, PlayerRemote *player, QObject *parent)
    : QObject(parent)
    , m_player(player)
    , m_dialogs(dialogs)
{
    openAddIns();
}

AddInRuntime::~AddInRuntime()
{
    closeAddIns();
}

void AddInRuntime::openAddIns()
{
    if (!m_addIns)
        m_addIns = std::make_unique<clsAddIns>();
}

void AddInRuntime::closeAddIns()
{
    // The list is gone before its destruction tells anyone: an add-in that leaves while
    // it goes finds no list to leave.
    std::unique_ptr<clsAddIns> addIns = std::move(m_addIns);
    addIns.reset();
}

bool AddInRuntime::loadMainWindow() const
{
    if (!m_loader)
        return false;
    m_loader();
    return true;
}

QStringList AddInRuntime::addInFolders() const
{
    return m_addInFolders.isEmpty() ? AddInComponents::defaultFolders() : m_addInFolders;
}
