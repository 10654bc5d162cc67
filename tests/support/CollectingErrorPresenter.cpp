#include "CollectingErrorPresenter.h"

#include "errors/ShowErrBox.h"

CollectingErrorPresenter::CollectingErrorPresenter()
    : m_previous(setErrorPresenter(this))
{
}

CollectingErrorPresenter::~CollectingErrorPresenter()
{
    setErrorPresenter(m_previous);
}
