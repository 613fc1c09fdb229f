// The tray component's icon object.

#include "core/desktop/TIcon.h"

namespace nuvask {

void TIcon::SetHandle(const QVariant &image)
{
    m_handle = image;
    emit OnChange();
}

} // namespace nuvask
