#pragma once

#include "errors/ErrorReport.h"

#include <QList>

// Collects the error reports instead of showing the error box. Installs itself as
// the presenter while it lives and puts the previous one back afterwards.
class CollectingErrorPresenter : public ErrorPresenter
{
public:
    CollectingErrorPresenter();
    ~CollectingErrorPresenter() override;
    CollectingErrorPresenter(const CollectingErrorPresenter &) = delete;
    CollectingErrorPresenter &operator=(const CollectingErrorPresenter &) = delete;

    void present(const ErrorReport &report) override { m_reports.append(report); }

    const QList<ErrorReport> &reports() const { return m_reports; }
    bool isEmpty() const { return m_reports.isEmpty(); }
    void clear() { m_reports.clear(); }

private:
    ErrorPresenter *m_previous;
    QList<ErrorReport> m_reports;
};
