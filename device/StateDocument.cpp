#include "StateDocument.h"

namespace orvx::device {

namespace {

std::u16string escaped(std::u16string_view text)
{
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

std::u16string stateDocument(const DtmState& state)
{
    return u"<DtmState name=\"Orvx ESD\" state=\"" + std::u16string(state.online ? u"Online" : u"Offline") +
           u"\" dataSetState=\"allDataLoaded\" userLevel=\"" + escaped(state.userLevel) +
           u"\" isPrivateDialogEnabled=\"" + (state.privateDialogs ? u"1" : u"0") + u"\" isCommunicating=\"0\"/>";
}

}  // namespace orvx::device
