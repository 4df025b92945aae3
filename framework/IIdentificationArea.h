#pragma once

#include <QString>

namespace orvx::framework {

// The white band along the top edge: two pictures and three lines of text.
class IIdentificationArea {
public:
    virtual ~IIdentificationArea() = default;
    // The top line (item 108), shown as given: the device name from the state document.
    virtual void SetDeviceName(const QString& text) = 0;
    // The middle line (item 110), shown as given: the maker.
    virtual void SetMakerText(const QString& text) = 0;
    // The bottom line (item 109), shown as given.
    virtual void SetInfoText(const QString& text) = 0;
    // The left picture from the program's bitmaps, scaled down when taller than the band allows;
    // one that does not load leaves no picture, and the texts take its room.
    virtual void SetLeftPicture(int bitmapId) = 0;
    // The left picture from an image file, as SetLeftPicture.
    virtual void SetLeftPictureFile(const QString& path) = 0;
    // The right picture from the program's bitmaps, as SetLeftPicture.
    virtual void SetRightPicture(int bitmapId) = 0;
    // The right picture from an image file, as SetLeftPicture.
    virtual void SetRightPictureFile(const QString& path) = 0;
};

}  // namespace orvx::framework
