#pragma once

#include "EditModelBase.h"
#include "PageTable.h"

namespace orvx::framework {

// The edit models of the offline and the trend control: one page, no navigation tree, About
// as action 0, and no reaction to notifications.
class CSinglePageEditModel : public CEditModelBase {
public:
    void InitAreas() override;
    bool HandleEvent(controls::CUIEventBase& event) override;

protected:
    explicit CSinglePageEditModel(SinglePage page) : m_page(page) {}

private:
    SinglePage m_page;
};

// The offline control's model: parameters of the stored data set.
class CEditModelOffline : public CSinglePageEditModel {
public:
    CEditModelOffline() : CSinglePageEditModel(SinglePage::Offline) {}
};

// The trend control's model: its page reads live values itself; text reads are not answered.
class CEditModelTrend : public CSinglePageEditModel {
public:
    CEditModelTrend() : CSinglePageEditModel(SinglePage::Trend) {}
};

}  // namespace orvx::framework
