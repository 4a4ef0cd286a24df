// The side panel's widgets and the requests they send.
#include "tools/preview/preview_panel.h"

#include "text/display_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>

namespace murmex::tool {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QSpinBox* numberBox(QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return box;
}

} // namespace

PreviewPanel::PreviewPanel(PreviewRequests requests, QWidget* parent)
    : QWidget(parent), requests(std::move(requests)), character(new QLabel(this)),
      goal(new QLabel(this)), money(new QLabel(this)),
      byName(new QCheckBox(QStringLiteral("Sort by name"), this)),
      table(new QTableWidget(0, 2, this)), pathView(new QListWidget(this)),
      status(new QPlainTextEdit(this)), characters(new QComboBox(this)), name(new QLineEdit(this)),
      value(numberBox(this)), set(new QPushButton(QStringLiteral("Set"), this)),
      moneyValue(numberBox(this)), restartAt(new QPushButton(QStringLiteral("Restart at"), this)) {
    table->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Value")});
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    goal->setWordWrap(true);
    goal->setVisible(false);
    status->setReadOnly(true);
    status->setMaximumHeight(110);
    name->setPlaceholderText(QStringLiteral("variable"));
    name->setMinimumWidth(140);

    auto* backButton = new QPushButton(QStringLiteral("Back"), this);
    auto* removeButton = new QPushButton(QStringLiteral("Remove"), this);
    auto* moneyButton = new QPushButton(QStringLiteral("Set money"), this);

    auto* steps = new QHBoxLayout;
    steps->addWidget(backButton);
    steps->addWidget(restartAt);
    steps->addWidget(characters, 1);
    auto* edit = new QHBoxLayout;
    edit->addWidget(name, 1);
    edit->addWidget(value);
    edit->addWidget(set);
    edit->addWidget(removeButton);
    auto* moneyRow = new QHBoxLayout;
    moneyRow->addWidget(money, 1);
    moneyRow->addWidget(moneyValue);
    moneyRow->addWidget(moneyButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(character);
    layout->addWidget(goal);
    layout->addWidget(status);
    layout->addLayout(steps);
    layout->addWidget(new QLabel(QStringLiteral("Variables"), this));
    layout->addWidget(byName);
    layout->addWidget(table, 1);
    layout->addLayout(edit);
    layout->addLayout(moneyRow);
    layout->addWidget(new QLabel(QStringLiteral("Path"), this));
    layout->addWidget(pathView, 1);

    connect(backButton, &QPushButton::clicked, this, [this] { this->requests.back(); });
    connect(restartAt, &QPushButton::clicked, this, [this] {
        const int chosen = characters->currentIndex();
        if (chosen >= 0 && static_cast<size_t>(chosen) < names.size()) {
            this->requests.restart(names[static_cast<size_t>(chosen)]);
        }
    });
    connect(set, &QPushButton::clicked, this,
            [this] { this->requests.setVariable(name->text().toStdString(), value->value()); });
    connect(removeButton, &QPushButton::clicked, this,
            [this] { this->requests.removeVariable(name->text().toStdString()); });
    connect(moneyButton, &QPushButton::clicked, this,
            [this] { this->requests.setMoney(moneyValue->value()); });
    connect(byName, &QCheckBox::toggled, this, [this] {
        if (shown != nullptr) {
            showVariables(*shown);
        }
    });
}

void PreviewPanel::display(const PreviewSession& session, const std::string& message) {
    shown = &session;
    const std::string who = session.characterName();
    character->setText(who.empty()
                           ? QString()
                           : text(who + ", state " + std::to_string(session.characterState())));
    goal->setText(text(session.standing()));
    goal->setVisible(!session.standing().empty());
    money->setText(
        text("Money: " + std::to_string(session.loaded() ? session.engine().memory.money : 0)));

    std::string report = message;
    for (const std::string& part :
         {session.divergence(),
          session.failure() ? failureText(*session.failure()) : std::string()}) {
        if (!part.empty()) {
            report += (report.empty() ? "" : "\n") + part;
        }
    }
    status->setPlainText(text(report));

    // The list keeps its choice while the script keeps its characters.
    if (session.characterNames() != names) {
        names = session.characterNames();
        characters->clear();
        for (const std::string& listed : names) {
            characters->addItem(text(displayText(listed.c_str())));
        }
    }

    pathView->clear();
    pathView->addItem(text("start " + displayText(session.startName().c_str())));
    for (const PreviewStep& step : session.path()) {
        pathView->addItem(text(stepText(step)));
    }
    pathView->scrollToBottom();
    showVariables(session);
}

void PreviewPanel::showVariables(const PreviewSession& session) {
    const std::vector<PreviewVariable> variables = session.variables(byName->isChecked());
    table->setRowCount(static_cast<int>(variables.size()));
    for (size_t row = 0; row < variables.size(); ++row) {
        const int at = static_cast<int>(row);
        table->setItem(at, 0, new QTableWidgetItem(text(variables[row].name)));
        table->setItem(at, 1, new QTableWidgetItem(QString::number(variables[row].value)));
    }
}

} // namespace murmex::tool
