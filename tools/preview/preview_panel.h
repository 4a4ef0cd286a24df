// The preview's side panel: the character talked to and its state, every
// variable with its value, money, the path taken and what stopped it, and
// the controls that undo, restart, jump and change the game by hand. It shows
// a PreviewSession and hands each request to the callbacks its owner sets.
#pragma once

#include "tools/preview/preview_session.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace murmex::tool {

struct PreviewRequests {
    std::function<void()> back;
    std::function<void(const std::string& name)> restart;
    std::function<void(const std::string& name, int32_t value)> setVariable;
    std::function<void(const std::string& name)> removeVariable;
    std::function<void(int32_t value)> setMoney;
};

class PreviewPanel : public QWidget {
  public:
    PreviewPanel(PreviewRequests requests, QWidget* parent = nullptr);

    // Shows the session as it stands; `message` is the last request's
    // outcome when it needs saying.
    void display(const PreviewSession& session, const std::string& message);

    // The controls, for the tests that drive them.
    QComboBox* characterList() const { return characters; }
    QLineEdit* variableName() const { return name; }
    QSpinBox* variableValue() const { return value; }
    QPushButton* setButton() const { return set; }
    QPushButton* restartButton() const { return restartAt; }
    QTableWidget* variableTable() const { return table; }
    QListWidget* pathList() const { return pathView; }
    QLabel* characterLabel() const { return character; }
    QLabel* goalLabel() const { return goal; }
    QPlainTextEdit* statusText() const { return status; }

  private:
    void showVariables(const PreviewSession& session);

    PreviewRequests requests;
    QLabel* character;
    // How the game stands towards the goals; hidden without goals.
    QLabel* goal;
    QLabel* money;
    QCheckBox* byName;
    QTableWidget* table;
    QListWidget* pathView;
    QPlainTextEdit* status;
    QComboBox* characters;
    QLineEdit* name;
    QSpinBox* value;
    QPushButton* set;
    QSpinBox* moneyValue;
    QPushButton* restartAt;
    const PreviewSession* shown = nullptr;
    // The names the character list shows, as the script holds them.
    std::vector<std::string> names;
};

} // namespace murmex::tool
