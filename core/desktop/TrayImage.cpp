// The tray component's icon object.

#include "core/desktop/TrayImage.h"

namespace nuvask {

void TrayImage::SetHandle(const QVariant &image)
{
    m_handle = image;
    emit OnChange();
}

} // namespace nuvask
