#pragma once

#include <QString>

namespace orvx::framework {

// The white band along the top edge: two pictures and three lines of text.
class IIdentificationArea {
public:
    virtual ~IIdentificationArea() = default;
    virtual void SetDeviceName(const QString& text) = 0;
    virtual void SetMakerText(const QString& text) = 0;
    virtual void SetInfoText(const QString& text) = 0;
    virtual void SetLeftPicture(int bitmapId) = 0;
    virtual void SetLeftPictureFile(const QString& path) = 0;
    virtual void SetRightPicture(int bitmapId) = 0;
    virtual void SetRightPictureFile(const QString& path) = 0;
};

}  // namespace orvx::framework
