// Accessible views of the static texts, the list of questions and the
// conversation window.
#include "player/qt/accessibility.h"

#include "player/qt/player_window.h"
#include "player/qt/static_text_control.h"

#include "murmex/script_text.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <string>

namespace kestrine::qt {

namespace {

// The text as drawn: a mark shows the next character underlined, "&&" shows
// one '&'. '&' is one byte in UTF-8, so the engine's rule applies to the bytes.
QString withoutMnemonicMarks(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::string shown(static_cast<size_t>(bytes.size()) + 1, '\0');
    shown.resize(murmex::removeMnemonicMarks(bytes.constData(), static_cast<size_t>(bytes.size()),
                                             shown.data(), shown.size()));
    return QString::fromStdString(shown);
}

PlayerWindow* conversationWindowOf(const QWidget* control) {
    return control != nullptr ? dynamic_cast<PlayerWindow*>(control->parentWidget()) : nullptr;
}

int32_t offeredQuestions(const PlayerWindow& window) {
    return const_cast<PlayerWindow&>(window).logic().view.questionCount;
}

// The offered questions of a conversation window, as one list. It has no
// object of its own: its items are the question lines' controls.
class QuestionListAccessible : public QAccessibleInterface {
  public:
    explicit QuestionListAccessible(PlayerWindow* window) : conversation(window) {}

    bool isValid() const override { return !conversation.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return conversation ? conversation->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(conversation.data());
    }
    QAccessibleInterface* child(int index) const override {
        if (!conversation || index < 0 || index >= offeredQuestions(*conversation)) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(
            conversation->controls().at(conversation->logic().questionControlIds[index]));
    }
    int childCount() const override { return conversation ? offeredQuestions(*conversation) : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!conversation || child == nullptr) {
            return -1;
        }
        const int32_t line = conversation->questionLine(child->object());
        return line < offeredQuestions(*conversation) ? line : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* item = child(i);
            if (item != nullptr && item->rect().contains(x, y)) {
                return item;
            }
        }
        return nullptr;
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? QStringLiteral("Questions") : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        QRect area;
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessibleInterface* item = child(i)) {
                area = area.united(item->rect());
            }
        }
        return area;
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = childCount() == 0;
        return state;
    }

  private:
    QPointer<PlayerWindow> conversation;
};

// The conversation window, whose question lines stand in one list where the
// first of them stands among its controls.
class ConversationWindowAccessible : public QAccessibleWidget {
  public:
    explicit ConversationWindowAccessible(PlayerWindow* window)
        : QAccessibleWidget(window, QAccessible::Dialog),
          questions(new QuestionListAccessible(window)) {
        QAccessible::registerAccessibleInterface(questions);
    }
    ~ConversationWindowAccessible() override {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(questions));
    }

    QAccessibleInterface* questionList() const { return questions; }

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override { return children().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return static_cast<int>(children().indexOf(child));
    }

  private:
    QList<QAccessibleInterface*> children() const {
        const auto* window = static_cast<const PlayerWindow*>(widget());
        QList<QAccessibleInterface*> shown;
        bool listed = false;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* control = QAccessibleWidget::child(i);
            if (control == nullptr || window->questionLine(control->object()) < 0) {
                shown.append(control);
            } else if (!listed) {
                shown.append(questions);
                listed = true;
            }
        }
        return shown;
    }

    QAccessibleInterface* questions;
};

// A static text: the answer and the About box's texts read as static text; a
// question line of the conversation window as an item of its list of questions.
class StaticTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit StaticTextAccessible(StaticTextControl* control)
        : QAccessibleWidget(control, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::Role role() const override {
        return line() >= 0 ? QAccessible::ListItem : QAccessible::StaticText;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        const int32_t own = line();
        if (own >= 0) {
            PlayerWindow* window = conversationWindowOf(control());
            state.invisible = own >= offeredQuestions(*window);
            state.selectable = true;
            state.selected = own == window->logic().hoveredQuestion;
        }
        return state;
    }
    QAccessibleInterface* parent() const override {
        if (line() >= 0) {
            auto* window = static_cast<ConversationWindowAccessible*>(
                QAccessible::queryAccessibleInterface(conversationWindowOf(control())));
            return window->questionList();
        }
        return QAccessibleWidget::parent();
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return shown();
        }
        const int32_t own = line();
        if (kind == QAccessible::Description && own >= 0) {
            // Where the item stands, as the line's number key chooses it.
            return QStringLiteral("%1 of %2")
                .arg(own + 1)
                .arg(offeredQuestions(*conversationWindowOf(control())));
        }
        return QAccessibleWidget::text(kind);
    }

    // Actions: a question line presses; the digit key of its line does the same.
    QStringList actionNames() const override {
        return line() >= 0 ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (line() < 0) {
            QAccessibleWidget::doAction(name);
        } else if (name == pressAction()) {
            conversationWindowOf(control())->chooseLineLater(line());
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (line() < 0) {
            return QAccessibleWidget::keyBindingsForAction(name);
        }
        return name == pressAction() ? QStringList{QString::number(line() + 1)} : QStringList();
    }

    // QAccessibleTextInterface: read-only text without a caret or selection.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }

  private:
    StaticTextControl* control() const { return static_cast<StaticTextControl*>(widget()); }
    QString shown() const { return accessibleText(*control()); }
    // The question line this control is in a conversation window; -1 otherwise.
    int32_t line() const {
        const PlayerWindow* window = conversationWindowOf(control());
        return window != nullptr ? window->questionLine(control()) : -1;
    }
};

QAccessibleInterface* makeAccessible(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (auto* text = dynamic_cast<StaticTextControl*>(widget)) {
        return new StaticTextAccessible(text);
    }
    if (auto* window = dynamic_cast<PlayerWindow*>(widget)) {
        return new ConversationWindowAccessible(window);
    }
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessible);
        return true;
    }();
    (void)installed;
}

QString accessibleText(const StaticTextControl& control) {
    return control.marksMnemonics() ? withoutMnemonicMarks(control.text()) : control.text();
}

void announceTextChange(StaticTextControl* control, const QString& previous) {
    if (!QAccessible::isActive() || control->text() == previous) {
        return;
    }
    QString before = previous;
    if (control->marksMnemonics()) {
        before = withoutMnemonicMarks(before);
    }
    if (conversationWindowOf(control) != nullptr &&
        conversationWindowOf(control)->questionLine(control) >= 0 &&
        previous.isEmpty() != control->text().isEmpty()) {
        QAccessibleEvent shown(control, control->text().isEmpty() ? QAccessible::ObjectHide
                                                                  : QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
    QAccessibleEvent nameChanged(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleTextUpdateEvent textChanged(control, 0, before, accessibleText(*control));
    QAccessible::updateAccessibility(&textChanged);
}

} // namespace kestrine::qt
