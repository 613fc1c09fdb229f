#include "core/TIcon.h"

namespace nuvask {

void TIcon::SetHandle(const QVariant &image)
{
    m_handle = image;
    emit OnChange();
}

} // namespace nuvask
