#pragma once

#include "framework/IIdentificationArea.h"
#include "framework/IInternalUpdateUI.h"

#include <QWidget>

class QLabel;
class QPixmap;

namespace orvx::framework {

// The white band along the top edge: a picture at each end and three bold lines of text
// (items 108, 110 and 109, top to bottom) between them. A picture taller than the area allows
// is scaled down to fit; one that does not load takes no room. The pictures are the children
// "leftPicture" and "rightPicture", the texts "item_<number>". The area is itself the window:
// whoever holds it destroys it before its parent, or lets the parent do so.
class CIdentificationArea : public QWidget, public IInternalUpdateUI, public IIdentificationArea {
public:
    // 351 by 43 dialog units of the widget's font.
    static constexpr QSize kDialogSize{351, 43};

    explicit CIdentificationArea(QWidget* parent = nullptr);
    ~CIdentificationArea() override;

    // Makes the area a visible child of 'parent', sized from the font it has there.
    QWidget* CreateWindow(QWidget* parent);
    // The height the area was initialised with; pictures are at most that less 20 pixels high.
    int Height() const { return m_height; }

    // IInternalUpdateUI: nothing the business object says changes the area.
    void OnUpdate(std::int32_t code, const QString& text) override;

    // IIdentificationArea
    void SetDeviceName(const QString& text) override;
    void SetMakerText(const QString& text) override;
    void SetInfoText(const QString& text) override;
    void SetLeftPicture(int bitmapId) override;
    void SetLeftPictureFile(const QString& path) override;
    void SetRightPicture(int bitmapId) override;
    void SetRightPictureFile(const QString& path) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Sizes the area and its texts from the current font.
    void initialise();
    void showPicture(QLabel* picture, const QPixmap& pixmap);
    void layOut();

    QLabel* m_left = nullptr;
    QLabel* m_right = nullptr;
    QLabel* m_deviceName = nullptr;  // item 108
    QLabel* m_makerText = nullptr;   // item 110
    QLabel* m_infoText = nullptr;    // item 109
    int m_height = 0;
    int m_textHeight = 0;
};

}  // namespace orvx::framework
