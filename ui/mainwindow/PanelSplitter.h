#pragma once
// A 3-pixel bar that lets the user drag the width of the panel on its left.
// The panel keeps at least 5 pixels and never snaps shut.

#include <QWidget>
#include <functional>

namespace nuvask {

class PanelSplitter : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 3;      // pixels
    static constexpr int kMinPanel = 5;   // pixels

    explicit PanelSplitter(QWidget *parent = nullptr);

    // The panel whose width the splitter drags, and how wide it may grow.
    void setTarget(QWidget *panel, std::function<int()> maxWidth);
    // Called after a drag changed the panel's width.
    std::function<void()> onMoved;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QWidget *m_panel = nullptr;
    std::function<int()> m_maxWidth;
    bool m_dragging = false;
    int m_pressX = 0;        // global x at the press
    int m_startWidth = 0;    // panel width at the press
};

} // namespace nuvask
