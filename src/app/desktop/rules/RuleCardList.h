#pragma once

#include <QWidget>
#include <optional>
#include <vector>

class QMimeData;
class QVBoxLayout;

namespace morvane::app {

class WindowRules;
class RuleCard;

// The column of rule cards, in list order. A card dropped on it goes where
// the line drawn during the drag shows: before the card under the pointer's
// upper half, after it in its lower half.
class RuleCardList : public QWidget {
    Q_OBJECT

public:
    explicit RuleCardList(WindowRules& model, QWidget* parent = nullptr);

    // Puts these cards in this order (they are its children from then on).
    void arrange(const std::vector<RuleCard*>& cards);
    // Whether it shows exactly these cards in this order.
    bool shows(const std::vector<RuleCard*>& cards) const { return cards == cards_; }
    // Where a card dropped at `y` goes: the position it is placed before.
    std::size_t destinationAt(int y) const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool accepts(const QMimeData* dragged) const;

    WindowRules& model_;
    QVBoxLayout* layout_;
    std::vector<RuleCard*> cards_;
    std::optional<std::size_t> indicator_; // where the dragged card would go
};

} // namespace morvane::app
