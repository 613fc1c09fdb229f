#pragma once
// The tray component's icon object.
//
// An icon object as a component owns it: an image the shell understands
// (a QIcon, carried as a QVariant so that the logic needs no GUI module), and
// a change notification for whoever shows it.

#include <QObject>
#include <QVariant>

namespace nuvask {

class TrayImage : public QObject
{
    Q_OBJECT
public:
    explicit TrayImage(QObject *parent = nullptr) : QObject(parent) {}

    // The image; a null variant is the empty icon.
    const QVariant &Handle() const { return m_handle; }
    bool Empty() const { return !m_handle.isValid(); }

    // Every change of the image is announced, also one to an equal image:
    // images cannot be compared without the GUI module.
    void SetHandle(const QVariant &image);
    // Copies the other icon's image.
    void Assign(const TrayImage &other) { SetHandle(other.m_handle); }
    // Lets go of the image without announcing it.
    void ReleaseHandle() { m_handle = QVariant(); }

signals:
    void OnChange();

private:
    QVariant m_handle;
};

} // namespace nuvask
