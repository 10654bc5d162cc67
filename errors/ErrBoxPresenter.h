#pragma once

#include "errors/ErrorReport.h"

#include <QList>
#include <QPointer>
#include <memory>

class Form_ErrBox;

class Shell;
class UserDialogs;

// Shows each report in a fresh modal error box and deletes the box afterwards.
// A report that arrives while a box is open (a timer failing during the modal wait, an
// outside program's call failing again) is queued and shown after it, so boxes never
// pile up inside each other. A report shown without waiting returns at once; its box
// and the ones queued after it follow each other as the user closes them. A report
// raised while boxes are deferred (a receiver report is being evaluated) is shown after
// that, through DeferredBoxes, so the box does not hold the evaluation.
class ErrBoxPresenter final : public ErrorPresenter
{
public:
    // At most this many reports wait; further ones are only logged.
    static constexpr qsizetype kMaxQueued = 10;

    ErrBoxPresenter(Shell *shell, UserDialogs *dialogs);
    ~ErrBoxPresenter() override;

    void present(const ErrorReport &report) override;
    void presentWithoutWaiting(const ErrorReport &report) override;

    bool isShowing() const { return m_showing; }
    qsizetype queuedCount() const { return m_queue.size(); }

private:
    void showOne(const ErrorReport &report);
    void showWithoutWaiting(const ErrorReport &report);
    void enqueue(const ErrorReport &report);

    Shell *m_shell;
    UserDialogs *m_dialogs;
    bool m_showing = false;
    ErrorReport m_current;
    QList<ErrorReport> m_queue;
    QPointer<Form_ErrBox> m_open; // the box shown without waiting
    std::shared_ptr<int> m_alive = std::make_shared<int>();
};
