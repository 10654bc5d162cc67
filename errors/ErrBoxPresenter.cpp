#include "errors/ErrBoxPresenter.h"

#include "errors/Form_ErrBox.h"
#include "platform/DeferredBoxes.h"

#include <QDebug>
#include <QPointer>
#include <QScopeGuard>
#include <exception>

namespace {

bool sameReport(const ErrorReport &a, const ErrorReport &b)
{
    return a.procedure == b.procedure && a.module == b.module && a.number == b.number
        && a.description == b.description && a.line == b.line;
}

void logReport(const char *why, const ErrorReport &report)
{
    qWarning().noquote() << why << "Error in" << report.module + "-" + report.procedure + ":"
                         << report.number << report.description << "line" << report.line;
}

} // namespace

ErrBoxPresenter::ErrBoxPresenter(Shell *shell, UserDialogs *dialogs)
    : m_shell(shell)
    , m_dialogs(dialogs)
{
}

ErrBoxPresenter::~ErrBoxPresenter()
{
    if (m_open) {
        QObject::disconnect(m_open, nullptr, nullptr, nullptr);
        delete m_open.data();
    }
}

// Called from failure handlers that must not throw: nothing leaves this function.
void ErrBoxPresenter::present(const ErrorReport &report)
{
    try {
        if (DeferredBoxes::deferring()) {
            DeferredBoxes::later([this, alive = std::weak_ptr<int>(m_alive), report] {
                if (!alive.expired())
                    present(report);
            });
            return;
        }
        if (m_showing) {
            enqueue(report);
            return;
        }
        m_showing = true;
        const auto done = qScopeGuard([this] { m_showing = false; });
        showOne(report);
        while (!m_queue.isEmpty())
            showOne(m_queue.takeFirst());
    } catch (const std::exception &e) {
        logReport(e.what(), report);
    } catch (...) {
        logReport("Error box failed:", report);
    }
}

void ErrBoxPresenter::presentWithoutWaiting(const ErrorReport &report)
{
    try {
        if (m_showing) {
            enqueue(report);
            return;
        }
        m_showing = true;
        showWithoutWaiting(report);
    } catch (const std::exception &e) {
        m_showing = !m_open.isNull();
        logReport(e.what(), report);
    } catch (...) {
        m_showing = !m_open.isNull();
        logReport("Error box failed:", report);
    }
}

void ErrBoxPresenter::showWithoutWaiting(const ErrorReport &report)
{
    m_current = report;
    auto *box = new Form_ErrBox(m_shell, m_dialogs);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    m_open = box;
    QObject::connect(box, &Form_ErrBox::closed, box, [this, box] {
        QObject::disconnect(box, nullptr, nullptr, nullptr);
        box->deleteLater();
        m_open = nullptr;
        m_showing = false;
        if (!m_queue.isEmpty())
            presentWithoutWaiting(m_queue.takeFirst());
    });
    box->showWithoutWaiting(report.procedure, report.module, report.number, report.description,
                            report.line);
}

void ErrBoxPresenter::showOne(const ErrorReport &report)
{
    m_current = report;
    // Guarded pointer: the box may be deleted from outside while its event loop runs.
    QPointer<Form_ErrBox> box = new Form_ErrBox(m_shell, m_dialogs);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->ShowErrBox(report.procedure, report.module, report.number, report.description,
                    report.line);
    delete box.data();
}

void ErrBoxPresenter::enqueue(const ErrorReport &report)
{
    if (sameReport(report, m_current))
        return;
    for (const ErrorReport &queued : std::as_const(m_queue)) {
        if (sameReport(report, queued))
            return;
    }
    if (m_queue.size() >= kMaxQueued) {
        logReport("Too many errors at once; not shown:", report);
        return;
    }
    m_queue.append(report);
}
