#include "FullControls.h"

#include "ControlComposition.h"
#include "views/PageRegistration.h"

#include <QWidget>

namespace orvx::host {

template <class EditModel, class Dispatch>
CFullControl<EditModel, Dispatch>::CFullControl(const char* progId)
{
    views::RegisterPages();
    this->SetProgId(QString::fromLatin1(progId));
    this->SetEditModel(&m_model);
}

template <class EditModel, class Dispatch>
CFullControl<EditModel, Dispatch>::~CFullControl()
{
    // The composition takes the pages and areas down before the window goes.
    m_composition.reset();
    delete m_window.data();
}

template <class EditModel, class Dispatch>
com::Status CFullControl<EditModel, Dispatch>::CreateControlWindow(QWidget* parent)
{
    if (m_window)
        return com::Status::Failure;
    try {
        m_window = new QWidget(parent);
        m_composition = std::make_unique<CControlComposition>(*this, m_window);
        return com::Status::Ok;
    } catch (const std::exception&) {
        m_composition.reset();
        delete m_window.data();
        return com::Status::Failure;
    }
}

template class CFullControl<framework::CEditModel, IOrvxESDDTMGUIView>;
template class CFullControl<framework::CEditModelOffline, IOffline>;
template class CFullControl<framework::CEditModelTrend, ITrend>;

}  // namespace orvx::host
