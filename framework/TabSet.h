#pragma once
// A strip of tabs along the bottom of a window, hanging down like folder tabs, all in the face
// colour: the selected one joins the page above and hangs lower than the others. The change
// handler runs before the selection moves and may refuse it.

#include <QTabBar>
#include <functional>

class TTabSet : public QTabBar {
    Q_OBJECT
public:
    explicit TTabSet(QWidget* parent = nullptr);

    int TabIndex() const { return currentIndex(); }
    // Selects a tab; an index outside the tabs is refused and the selection stays.
    bool SetTabIndex(int index);

    // Called with the tab about to be selected; clearing allowChange keeps the old one.
    std::function<void(int newTab, bool& allowChange)> OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Changed(int index);
    int accepted_ = -1;
    bool reverting_ = false;
};
