#pragma once

#include "app/model/RuleEntry.h"
#include "app/model/RuleFigures.h"

#include <QFrame>
#include <optional>

class QMimeData;
class QVBoxLayout;

namespace morvane::app {

class WindowRules;
class RuleCardFooter;
class RuleCardHeader;
class RuleEditor;

// One rule of the list: its head, and while expanded the editor of its kind
// and its foot. A card is kept for as long as its entry exists and is
// updated in place, so the control being used keeps the focus; its editor
// is made when the card opens and dropped when it closes.
class RuleCard : public QFrame {
    Q_OBJECT

public:
    // What a dragged card carries: its entry's id.
    static constexpr const char* mimeType = "application/x-morvane-rule";

    RuleCard(WindowRules& model, const Uuid& id, QWidget* parent = nullptr);

    const Uuid& id() const { return id_; }
    void refresh(const RuleEntry& entry, const RuleFigures& figures);

    RuleCardHeader* header() const { return header_; }
    RuleEditor* editor() const { return editor_; }
    RuleCardFooter* footer() const { return footer_; }
    // The data of a drag of this card.
    QMimeData* dragData() const;
    static std::optional<Uuid> draggedRule(const QMimeData* data);

protected:
    // In a new interface language the editor is made again.
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void startDrag();
    void reset();
    void dropEditor();

    WindowRules& model_;
    Uuid id_;
    QVBoxLayout* layout_;
    RuleCardHeader* header_;
    RuleEditor* editor_ = nullptr;
    RuleKind editorKind_ = RuleKind::name;
    RuleCardFooter* footer_;
};

} // namespace morvane::app
