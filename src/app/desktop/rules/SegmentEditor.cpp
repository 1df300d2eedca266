#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"
#include "app/desktop/rules/SegmentPreview.h"
#include "app/model/RuleEditing.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace morvane::app {
namespace {

// One part of the name, by delimiter or by character positions, kept,
// removed or moved; below, what the settings pick from the selected item.
class SegmentEditor final : public RuleEditorOf<SegmentRule> {
public:
    SegmentEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        using Selection = SegmentRule::Selection;
        using Action = SegmentRule::Action;
        addRow(ui("Select"), choiceMenu(&SegmentRule::selection, ui("Select"),
                                        {{Selection::delimited, "Segment split by delimiter"},
                                         {Selection::characters, "Characters N to M"},
                                         {Selection::fromCharacter, "Character N to end"},
                                         {Selection::toCharacter, "Beginning to character N"},
                                         {Selection::firstCount, "First N characters"},
                                         {Selection::lastCount, "Last N characters"}}));
        delimiter_ = textField(&SegmentRule::delimiter, ui("Delimiter"), "_");
        addRow(ui("Delimiter"), delimiter_);
        segment_ = new QWidget;
        auto* segment = new QHBoxLayout(segment_);
        segment->setContentsMargins(0, 0, 0, 0);
        segment->setSpacing(6);
        QLabel* note = EditorControls::note(ui("negative counts from the end"));
        note->setWordWrap(true);
        segment->addWidget(numberField(&SegmentRule::segment, ui("Segment")), 0, Qt::AlignTop);
        segment->addWidget(note, 1);
        addRow(ui("Segment"), segment_);
        from_ = EditorControls::row({numberField(&SegmentRule::from, ui("From"))});
        addRow(ui("From"), from_);
        to_ = EditorControls::row({numberField(&SegmentRule::to, ui("To"))});
        addRow(ui("To"), to_);
        count_ = EditorControls::row({numberField(&SegmentRule::count, ui("Count"))});
        addRow(ui("Count"), count_);
        addRow(ui("Then"), choiceMenu(&SegmentRule::action, ui("Then"),
                                      {{Action::keepOnly, "Keep only it"},
                                       {Action::remove, "Remove it"},
                                       {Action::moveToBeginning, "Move to beginning"},
                                       {Action::moveToEnd, "Move to end"}}));
        addRow(makeAnalysis());
    }

private:
    QWidget* makeAnalysis() {
        analysis_ = new QWidget;
        analysis_->setObjectName("segmentAnalysis");
        auto* column = new QVBoxLayout(analysis_);
        column->setContentsMargins(0, 4, 0, 0);
        column->setSpacing(2);
        preview_ = new SegmentPreview;
        detail_ = EditorControls::note({});
        column->addWidget(preview_);
        column->addWidget(detail_);
        missing_ = new QWidget;
        auto* missing = new QHBoxLayout(missing_);
        missing->setContentsMargins(0, 0, 0, 0);
        missing->setSpacing(6);
        QWidget* symbol = EditorControls::symbol("exclamationmark.circle");
        message_ = new QLabel;
        message_->setWordWrap(true);
        missing->addWidget(symbol, 0, Qt::AlignTop);
        missing->addWidget(message_, 1);
        column->addWidget(missing_);
        return analysis_;
    }

    void show(const SegmentRule& rule, const RuleFigures& figures) override {
        const RuleEditing::SegmentFields fields = RuleEditing::segmentFields(rule.selection);
        setRowVisible(delimiter_, fields.delimiter);
        setRowVisible(segment_, fields.segment);
        setRowVisible(from_, fields.from);
        setRowVisible(to_, fields.to);
        setRowVisible(count_, fields.count);

        setRowVisible(analysis_, figures.inputStem.has_value());
        if (!figures.inputStem) {
            return;
        }
        const SegmentRule::Outcome outcome = rule.analyze(*figures.inputStem);
        const auto* selected = std::get_if<SegmentRule::Selected>(&outcome);
        EditorControls::showVisible(preview_, selected != nullptr);
        EditorControls::showVisible(detail_, selected != nullptr);
        EditorControls::showVisible(missing_, selected == nullptr);
        if (selected != nullptr) {
            preview_->setParts(toQString(selected->before), toQString(selected->selected),
                               toQString(selected->after));
            EditorControls::showText(detail_, toQString(selected->detail));
        } else {
            EditorControls::showText(message_, toQString(std::get<SegmentRule::Missing>(outcome).message));
        }
    }

    QLineEdit* delimiter_;
    QWidget* segment_;
    QWidget* from_;
    QWidget* to_;
    QWidget* count_;
    QWidget* analysis_ = nullptr;
    SegmentPreview* preview_ = nullptr;
    QLabel* detail_ = nullptr;
    QWidget* missing_ = nullptr;
    QLabel* message_ = nullptr;
};

} // namespace

RuleEditor* makeSegmentEditor(WindowRules& model, const Uuid& id) {
    return new SegmentEditor(model, id);
}

} // namespace morvane::app
