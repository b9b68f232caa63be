#include "exercises/exercise_window.h"

#include "exercises/answer_field.h"
#include "exercises/exercise_plot.h"
#include "exercises/exercise_texts.h"
#include "model/correction.h"
#include "model/criteria.h"
#include "model/exercise_kinds.h"
#include "model/regulators.h"
#include "stage/file_writes.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cmath>

namespace t1 {

namespace {

constexpr int kListWidth = 260;
constexpr auto kTick = u"\u2714";
constexpr auto kCross = u"\u2718";
constexpr auto kRefusedStyle = "color: #b00000;";
constexpr auto kTitleStyle = "font-size: 14pt; font-weight: bold;";
// The symbols of an identification's answers, for the student's model.
constexpr std::string_view kGainKey = "K";
constexpr std::string_view kTimeConstantKey = "T1_s";
constexpr std::string_view kDelayKey = "theta_s";
// The acquisition a step of the command starts at, within the longest run.
constexpr model::Quantity kStepAcquisition{"acquisition", "n", model::Unit::None, 0, model::kExercisePeriods.high,
                                           false, true, 0, 0};
constexpr int kLevelDecimals = 2;  // volts, as the crosshair reads S
constexpr int kInstantDecimals = 1;  // seconds, as the crosshair reads t

QString utf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QLabel* wrapped(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString verdictLines(const std::vector<ShownJudgement>& verdict)
{
    QStringList lines;
    for (const ShownJudgement& j : verdict)
        lines << QStringLiteral("%1 %2 : %3").arg(QString::fromUtf16(j.met ? kTick : kCross), j.name, j.value);
    return lines.join(QLatin1Char('\n'));
}

const model::AskedValue* askedOf(const model::StudentExercise& x, std::string_view key)
{
    for (const model::AskedValue& a : x.asked)
        if (a.row->key == key)
            return &a;
    return nullptr;
}

QString voltsText(double v)
{
    return frenchNumber(v, kLevelDecimals) + QStringLiteral(" V");
}

// The text kept for a box, by its key; empty when none.
std::string keptText(const ExerciseProgress& p, std::string_view key)
{
    const auto typed = p.typed.find(utf8(key));
    return typed == p.typed.end() ? std::string() : typed->second.toStdString();
}

// An answer read from its kept text as its box reads it.
Reading keptAnswer(const ExerciseProgress& p, const model::AnswerRow& row)
{
    return readAnswer(answerQuantity(row.key, row.symbol, row.unit, row.decimals), keptText(p, row.key));
}

}  // namespace

ExerciseWindow::ExerciseWindow(model::Sheet sheet, const QString& student, HeldProgress progress, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_sheet(std::move(sheet)),
      m_student(student.simplified()),
      m_progressFile(progress.path),
      m_lock(std::move(progress.lock))
{
    setObjectName(QStringLiteral("ExerciseWindow"));
    setWindowTitle(QStringLiteral("Exercices — %1 — %2").arg(QString::fromStdString(m_sheet.title), m_student));
    for (std::size_t i = 0; i < m_sheet.exercises.size(); ++i)
        m_exercises.push_back(model::studentExercise(m_sheet, i, m_student.toStdString()).value());
    m_progress = loadProgress(m_progressFile, QString::fromStdString(m_sheet.id), m_exercises.size());

    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);

    title = wrapped(this, "title");
    title->setStyleSheet(QString::fromLatin1(kTitleStyle));
    title->setText(QString::fromStdString(m_sheet.title));
    introduction = wrapped(this, "introduction");
    introduction->setText(QString::fromStdString(m_sheet.introduction));
    introduction->setMaximumWidth(kListWidth);
    exerciseList = new QListWidget(this);
    exerciseList->setObjectName(QStringLiteral("exerciseList"));
    exerciseList->setAccessibleName(QStringLiteral("Exercices"));
    exerciseList->setFixedWidth(kListWidth);
    exerciseList->setWordWrap(true);
    exerciseList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (std::size_t i = 0; i < m_exercises.size(); ++i) {
        exerciseList->addItem(QString());
        listExercise(i);
    }
    exportButton = new QPushButton(QStringLiteral("&Exporter mes résultats…"), this);
    left->addWidget(title);
    left->addWidget(introduction);
    left->addWidget(exerciseList, 1);
    left->addWidget(exportButton);

    statement = wrapped(this, "statement");
    givens = wrapped(this, "givens");
    plot = new ExercisePlot(this);
    m_aids = new QWidget(this);
    auto* aids = new QHBoxLayout(m_aids);
    aids->setContentsMargins(0, 0, 0, 0);
    levelsBox = new QCheckBox(QStringLiteral("&Niveaux 28 %, 40 %, 63 % de"), m_aids);
    const model::Quantity volts = answerQuantity("S", "S", model::Unit::Volts, 2);
    levelFrom = new AnswerField(m_aids, volts, QStringLiteral("S avant"));
    levelTo = new AnswerField(m_aids, volts, QStringLiteral("à S final"));
    tangentBox = new QCheckBox(QStringLiteral("&Tangente à"), m_aids);
    tangentAt = new AnswerField(m_aids, answerQuantity("t", "t", model::Unit::Seconds, 1), QStringLiteral("t ="));
    for (QWidget* w : std::initializer_list<QWidget*>{levelsBox, levelFrom, levelTo, tangentBox, tangentAt})
        aids->addWidget(w);
    aids->addStretch(1);
    m_command = new QWidget(this);
    auto* command = new QGridLayout(m_command);
    command->setContentsMargins(0, 0, 0, 0);
    commandVolts = new AnswerField(m_command, model::regulatorRow(model::Regulator::Manual).fields()[model::kCommandField],
                                   QStringLiteral("Commande manuelle : U ="), true);
    commandAt = new AnswerField(m_command, kStepAcquisition, QStringLiteral("dès l'acquisition"), true);
    applyStepButton = new QPushButton(QStringLiteral("&Appliquer l'échelon"), m_command);
    removeStepButton = new QPushButton(QStringLiteral("&Retirer le dernier"), m_command);
    removeStepButton->setToolTip(QStringLiteral("Retire l'échelon le plus tardif que vous avez appliqué"));
    commandSteps = wrapped(m_command, "commandSteps");
    command->addWidget(commandVolts, 0, 0, Qt::AlignTop);
    command->addWidget(commandAt, 0, 1, Qt::AlignTop);
    command->addWidget(applyStepButton, 0, 2, Qt::AlignTop);
    command->addWidget(removeStepButton, 0, 3, Qt::AlignTop);
    command->setColumnStretch(4, 1);
    command->addWidget(commandSteps, 1, 0, 1, 5);
    plot->setToolTip(QStringLiteral("Cliquez dans une case des aides ou dans celle de l'acquisition, puis sur la "
                                    "courbe : la case prend la valeur lue au réticule."));
    regulatorChoice = new QComboBox(this);
    regulatorChoice->setAccessibleName(QStringLiteral("Régulateur"));
    regulatorChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_regulatorFields = new QWidget(this);
    new QHBoxLayout(m_regulatorFields);
    m_regulatorFields->layout()->setContentsMargins(0, 0, 0, 0);
    m_answers = new QWidget(this);
    m_answerRows = new QVBoxLayout(m_answers);
    m_answerRows->setContentsMargins(0, 0, 0, 0);
    checkButton = new QPushButton(QStringLiteral("&Vérifier"), this);
    checkButton->setDefault(true);
    revealButton = new QPushButton(QStringLiteral("Voir la &solution"), this);
    revealButton->setToolTip(QStringLiteral("Montre les valeurs vraies : l'exercice est alors terminé"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkButton);
    buttons->addWidget(revealButton);
    buttons->addStretch(1);
    tries = wrapped(this, "tries");
    verdict = wrapped(this, "verdict");
    solution = wrapped(this, "solution");
    message = wrapped(this, "message");
    message->setAccessibleName(QStringLiteral("Message"));

    for (QWidget* w : std::initializer_list<QWidget*>{statement, givens, plot, m_aids, m_command})
        right->addWidget(w);
    right->addWidget(regulatorChoice, 0, Qt::AlignLeft);
    right->addWidget(m_regulatorFields);
    right->addWidget(m_answers);
    right->addLayout(buttons);
    for (QWidget* w : std::initializer_list<QWidget*>{tries, verdict, solution, message})
        right->addWidget(w);
    right->addStretch(1);

    connect(exerciseList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && std::size_t(row) != m_index)
            showExercise(std::size_t(row));
    });
    connect(checkButton, &QPushButton::clicked, this, &ExerciseWindow::check);
    connect(revealButton, &QPushButton::clicked, this, &ExerciseWindow::reveal);
    connect(exportButton, &QPushButton::clicked, this, &ExerciseWindow::chooseExport);
    connect(regulatorChoice, &QComboBox::currentIndexChanged, this, [this] { buildRegulatorFields(); });
    for (QCheckBox* box : {levelsBox, tangentBox})
        connect(box, &QCheckBox::toggled, this, &ExerciseWindow::showAids);
    for (AnswerField* f : {levelFrom, levelTo, tangentAt})
        connect(f->edit(), &QLineEdit::editingFinished, this, &ExerciseWindow::showAids);
    connect(applyStepButton, &QPushButton::clicked, this, &ExerciseWindow::applyStep);
    connect(commandAt->edit(), &QLineEdit::returnPressed, this, &ExerciseWindow::applyStep);
    connect(removeStepButton, &QPushButton::clicked, this, &ExerciseWindow::removeStep);
    connect(plot, &ExercisePlot::picked, this, &ExerciseWindow::pick);

    m_index = m_exercises.size();  // none shown yet
    showExercise(0);
}

// Closed with the program: what was typed since the last save is kept too.
ExerciseWindow::~ExerciseWindow()
{
    save();
}

void ExerciseWindow::showExercise(std::size_t index)
{
    if (index >= m_exercises.size())
        return;
    if (m_index < m_exercises.size())
        save();
    m_index = index;
    const model::StudentExercise& x = current();
    const model::Exercise& e = m_sheet.exercises[index];
    if (!state().started.isValid())
        state().started = QDateTime::currentDateTime();
    exerciseList->setCurrentRow(int(index));
    statement->setText(QStringLiteral("Exercice %1 — %2\n%3")
                           .arg(index + 1)
                           .arg(kindName(*x.kind), QString::fromStdString(e.statement)));
    QStringList given;
    for (const model::FixedValue& v : e.fixed)
        given << parameterText(v.key, v.value);
    for (const model::HiddenRange& r : e.hidden)
        if (const auto p = model::sheetParameter(r.key); p && !p->quantity.symbol.empty())
            given << utf8(p->quantity.symbol) + QStringLiteral(" inconnu");
    given << (x.start == model::Start::Steady ? QStringLiteral("départ en régime permanent")
                                              : QStringLiteral("départ four froid"));
    given << QStringLiteral("%1 périodes").arg(x.periods);
    givens->setText(QStringLiteral("Données : ") + given.join(QStringLiteral(" ; ")));

    const bool values = x.kind->asks == model::Asks::Values;
    m_aids->setVisible(values && x.kind->judging == model::Judging::HiddenValues);
    m_command->setVisible(x.kind->regulator == model::Regulator::Manual);
    regulatorChoice->setVisible(x.kind->asks == model::Asks::Regulator);
    m_regulatorFields->setVisible(x.kind->asks == model::Asks::Regulator);
    m_answers->setVisible(x.kind->asks != model::Asks::Regulator);
    message->clear();
    buildAnswers();
    showRun();
    showAids();
    showState();
}

void ExerciseWindow::applyStep()
{
    const std::optional<double> volts = commandVolts->read();
    const std::optional<double> at = commandAt->read();
    if (!volts || !at)
        return;
    const model::StudentExercise& x = current();
    if (*at > x.periods) {
        refuse(QStringLiteral("L'échelon doit tomber pendant l'essai : de l'acquisition 0 à %1.").arg(x.periods));
        return;
    }
    message->clear();
    model::placeStep(state().steps, {int(*at), *volts});
    save();
    showRun();
    showAids();
}

void ExerciseWindow::removeStep()
{
    if (state().steps.empty())
        return;
    state().steps.pop_back();
    save();
    showRun();
    showAids();
}

void ExerciseWindow::showSteps()
{
    const std::vector<model::CommandStep>& steps = state().steps;
    // As the converter holds them, read off the run shown.
    static const std::vector<model::Sample> none;
    const std::vector<model::Sample>& samples = plot->run() ? plot->run()->samples() : none;
    QStringList applied;
    if ((steps.empty() || steps.front().acquisition > 0) && !samples.empty())
        applied << voltsText(samples.front().u) + QStringLiteral(" dès le départ (donné par la feuille)");
    for (const model::CommandStep& s : steps) {
        if (std::size_t(s.acquisition) >= samples.size())
            continue;
        const model::Sample& at = samples[std::size_t(s.acquisition)];
        applied << QStringLiteral("%1 dès l'acquisition %2 (t = %3 s)")
                       .arg(voltsText(at.u))
                       .arg(s.acquisition)
                       .arg(frenchNumber(at.seconds, kInstantDecimals));
    }
    commandSteps->setText(QStringLiteral("Commande appliquée : ") + applied.join(QStringLiteral(" ; ")) + QLatin1Char('.'));
    removeStepButton->setEnabled(!steps.empty());
}

// A click on the curves fills the aid's box the student is in with what the
// crosshair reads there.
void ExerciseWindow::pick(double periods, double seconds, double s)
{
    QWidget* in = focusWidget();
    if (in == levelFrom->edit() || in == levelTo->edit()) {
        (in == levelFrom->edit() ? levelFrom : levelTo)->setText(frenchNumber(s, kLevelDecimals));
        levelsBox->setChecked(true);
    } else if (in == tangentAt->edit()) {
        tangentAt->setText(frenchNumber(seconds, kInstantDecimals));
        tangentBox->setChecked(true);
    } else if (in == commandAt->edit()) {
        commandAt->setText(QString::number(std::lround(periods)));
    } else {
        if (m_aids->isVisible())
            refuse(QStringLiteral("Cliquez d'abord dans la case à remplir (S avant, S final, t ou l'acquisition de "
                                  "l'échelon), puis sur la courbe."));
        return;
    }
    message->clear();
    showAids();
}

void ExerciseWindow::refuse(const QString& why)
{
    message->setStyleSheet(QString::fromLatin1(kRefusedStyle));
    message->setText(why);
}

void ExerciseWindow::buildAnswers()
{
    m_fields.clear();
    qDeleteAll(m_answers->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    const model::StudentExercise& x = current();
    if (x.kind->asks == model::Asks::Regulator) {
        const QSignalBlocker quiet(regulatorChoice);
        regulatorChoice->clear();
        for (model::Regulator r : x.regulators)
            regulatorChoice->addItem(utf8(model::regulatorRow(r).name), utf8(model::regulatorRow(r).key));
        const int chosen = regulatorChoice->findData(state().regulator);
        regulatorChoice->setCurrentIndex(std::max(chosen, 0));
        buildRegulatorFields();
        return;
    }
    for (const model::AskedValue& a : x.asked) {
        const model::AnswerRow& row = *a.row;
        auto* field = new AnswerField(m_answers, answerQuantity(row.key, row.symbol, row.unit, row.decimals),
                                      answerSymbol(row) + QStringLiteral(" ="));
        field->setObjectName(QStringLiteral("answer_") + utf8(row.key));
        m_answerRows->addWidget(field);
        m_fields.push_back(field);
        if (x.kind->asks == model::Asks::Values)
            if (const auto typed = state().typed.find(utf8(row.key)); typed != state().typed.end())
                field->setText(typed->second);
    }
}

model::Regulator ExerciseWindow::chosenRegulator() const
{
    return model::regulatorByKey(regulatorChoice->currentData().toString().toStdString()).value_or(model::Regulator::P);
}

void ExerciseWindow::buildRegulatorFields()
{
    m_fields.clear();
    qDeleteAll(m_regulatorFields->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    const model::Regulator r = chosenRegulator();
    const bool same = state().regulator == utf8(model::regulatorRow(r).key);
    for (const model::Quantity& q : model::regulatorRow(r).fields()) {
        auto* field = new AnswerField(m_regulatorFields, q, utf8(q.symbol) + QStringLiteral(" ="), true);
        field->setObjectName(QStringLiteral("answer_") + utf8(q.key));
        m_regulatorFields->layout()->addWidget(field);
        m_fields.push_back(field);
        if (const auto typed = state().typed.find(utf8(q.key)); same && typed != state().typed.end())
            field->setText(typed->second);
    }
}

AnswerField* ExerciseWindow::answerField(std::string_view key) const
{
    for (AnswerField* f : m_fields)
        if (f->quantity().key == key)
            return f;
    return nullptr;
}

model::Attempts ExerciseWindow::attempts() const
{
    return {state().tries, state().solved};
}

std::optional<model::Submission> ExerciseWindow::submission()
{
    bool refused = false;
    for (AnswerField* f : m_fields) {
        f->read();
        refused = refused || f->refused();
    }
    if (refused)
        return std::nullopt;
    keepTyped();
    return keptSubmission(m_index);
}

std::optional<model::Submission> ExerciseWindow::keptSubmission(std::size_t index) const
{
    const model::StudentExercise& x = m_exercises[index];
    const ExerciseProgress& p = m_progress.exercises[index];
    model::Submission s;
    s.period = p.period;
    if (x.kind->asks == model::Asks::Regulator) {
        s.regulator = model::regulatorByKey(p.regulator.toStdString()).value_or(model::Regulator::P);
        s.fields = x.parameters.fieldsOf(s.regulator);
        const auto fields = model::regulatorRow(s.regulator).fields();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const Reading r = readQuantity(fields[i], keptText(p, fields[i].key));
            if (!r.value)
                return std::nullopt;
            s.fields[i] = *r.value;
        }
        return s;
    }
    s.regulator = x.parameters.regulator;
    s.fields = x.parameters.fieldsOf(s.regulator);
    for (const model::AskedValue& a : x.asked) {
        const Reading r = keptAnswer(p, *a.row);
        if (!r.message.empty())
            return std::nullopt;
        if (r.value)
            s.answers.push_back({std::string(a.row->key), *r.value});
    }
    return s;
}

void ExerciseWindow::check()
{
    const model::StudentExercise& x = current();
    if (state().finished)
        return;
    const std::optional<model::Submission> s = submission();
    if (!s) {
        refuse(QStringLiteral("Corrigez d'abord les valeurs refusées, en rouge sous leur case."));
        return;
    }
    // Nothing typed is no answer: it costs no try.
    if (x.kind->asks != model::Asks::Regulator && s->answers.empty()) {
        refuse(QStringLiteral("Tapez au moins une réponse avant de vérifier."));
        return;
    }
    message->clear();
    if (x.kind->asks == model::Asks::EveryPeriod) {
        checkPeriod(*s);
        return;
    }
    const model::Verdict v = model::check(x, *s);
    std::vector<ShownJudgement> shown;
    for (std::size_t i = 0; i < v.items.size(); ++i) {
        const model::Judgement& j = v.items[i];
        if (x.kind->judging == model::Judging::Criteria) {
            const model::Demand& d = x.demands[i];
            shown.push_back({demandText(d), measuredText(*d.row, j), j.met});
        } else {
            const model::AskedValue* a = askedOf(x, j.key);
            shown.push_back({answerSymbol(*a->row), j.value ? answerValue(*a->row, *j.value) : whyText(j.why), j.met});
        }
    }
    state().lastVerdict = shown;
    state().tries += 1;
    state().solved = v.passed;
    state().lastTry = QDateTime::currentDateTime();
    finishIfOver(v.passed);
    save();
    // The run just checked, not worked out once more.
    if (v.run)
        plot->setRun(*v.run, x.periods);
    else
        showRun();
    showState();
}

void ExerciseWindow::checkPeriod(const model::Submission& s)
{
    const model::StudentExercise& x = current();
    const model::Verdict v = model::check(x, s);
    const model::Simulation run = model::exerciseRun(x, x.parameters);
    const model::Sample& made = run.samples()[std::size_t(s.period)];
    std::vector<ShownJudgement> shown;
    for (const model::Judgement& j : v.items) {
        const model::AskedValue* a = askedOf(x, j.key);
        const double expected = a->row->expected(x.parameters, made);
        const QString typed = j.value ? frenchNumber(*j.value, a->row->decimals) : whyText(j.why);
        shown.push_back({answerSymbol(*a->row),
                         QStringLiteral("%1 (acquisition faite : %2)").arg(typed, frenchNumber(expected, a->row->decimals)),
                         j.met});
    }
    model::Score score{state().right, state().judged};
    score.add(v);
    state().right = score.right;
    state().judged = score.total;
    state().lastVerdict = shown;
    state().tries += 1;
    state().period += 1;
    state().lastTry = QDateTime::currentDateTime();
    if (state().period > x.periods) {
        state().finished = true;
        state().revealed = true;
        state().solved = score.right == score.total;
    }
    for (AnswerField* f : m_fields)
        f->setText({});
    save();
    showRun();
    showState();
}

void ExerciseWindow::finishIfOver(bool passed)
{
    const model::StudentExercise& x = current();
    if (passed) {
        state().finished = true;
        state().revealed = true;
    } else if (!model::mayTry(x, attempts())) {
        state().finished = true;
        state().revealed = model::mayReveal(x, attempts());
    }
}

void ExerciseWindow::reveal()
{
    if (!model::mayReveal(current(), attempts()) || state().revealed)
        return;
    state().finished = true;
    state().revealed = true;
    save();
    showRun();
    showState();
}

std::optional<model::Simulation> ExerciseWindow::runToShow(std::size_t index) const
{
    const model::StudentExercise& x = m_exercises[index];
    switch (x.kind->judging) {
    case model::Judging::HiddenValues:
        return model::exerciseRun(x, x.parameters, m_progress.exercises[index].steps);
    case model::Judging::Run:
        return model::exerciseRun(x, x.parameters);
    case model::Judging::Criteria:
    case model::Judging::Deadbeat:
        // The run of the last answers: the student's regulator, or the deadbeat one once found.
        if (m_progress.exercises[index].tries > 0)
            if (const std::optional<model::Submission> s = keptSubmission(index))
                return model::check(x, *s).run;
        return std::nullopt;
    }
    return std::nullopt;
}

void ExerciseWindow::drawRun(ExercisePlot& on, std::size_t index) const
{
    const model::StudentExercise& x = m_exercises[index];
    const std::optional<model::Simulation> run = runToShow(index);
    if (!run) {
        on.clearRun();
        return;
    }
    // A prediction shows the run up to the acquisition asked for.
    const std::optional<int> until =
        x.kind->judging == model::Judging::Run ? std::optional(m_progress.exercises[index].period) : std::nullopt;
    on.setRun(*run, x.periods, until);
}

void ExerciseWindow::showRun()
{
    drawRun(*plot, m_index);
}

void ExerciseWindow::showAids()
{
    const std::optional<double> from = levelFrom->read();
    const std::optional<double> to = levelTo->read();
    // Only over the exercises that offer them.
    const bool offered = !m_aids->isHidden();
    plot->setLevels(offered && levelsBox->isChecked() && from && to ? std::optional(std::pair(*from, *to)) : std::nullopt);
    const std::optional<double> at = tangentAt->read();
    plot->setTangent(offered && tangentBox->isChecked() ? at : std::nullopt);
    showSteps();
    showSolution();
}

void ExerciseWindow::showSolution()
{
    const QStringList values = state().revealed ? trueValues(m_index) : QStringList();
    const bool shown = !values.isEmpty();
    solution->setVisible(shown);
    solution->setText(shown ? QStringLiteral("Solution : ") + values.join(QStringLiteral(" ; ")) : QString());
    plot->setModel(shown ? studentModel(m_index) : std::nullopt);
}

std::optional<model::FirstOrderModel> ExerciseWindow::studentModel(std::size_t index) const
{
    const model::StudentExercise& x = m_exercises[index];
    const ExerciseProgress& p = m_progress.exercises[index];
    if (!p.revealed || x.kind->judging != model::Judging::HiddenValues)
        return std::nullopt;
    const auto typed = [&](std::string_view key) {
        const model::AskedValue* a = askedOf(x, key);
        return a ? keptAnswer(p, *a->row).value : std::nullopt;
    };
    const auto k = typed(kGainKey);
    const auto t1 = typed(kTimeConstantKey);
    const auto theta = typed(kDelayKey);
    if (!k || !t1 || !theta)
        return std::nullopt;
    return model::FirstOrderModel{*k, *t1, *theta};
}

QImage ExerciseWindow::plotPicture(std::size_t index) const
{
    // The current exercise's as on the screen, the reading aids included.
    if (index == m_index)
        return plot->hasRun() ? plot->picture() : QImage();
    ExercisePlot offScreen;
    drawRun(offScreen, index);
    offScreen.setModel(studentModel(index));
    return offScreen.hasRun() ? offScreen.picture() : QImage();
}

QStringList ExerciseWindow::trueValues(std::size_t index) const
{
    const model::SheetCorrection all = model::correction(m_sheet, m_student.toStdString());
    const model::ExerciseCorrection& c = all.exercises[index];
    QStringList values;
    for (const model::DrawnValue& v : c.hidden)
        values << parameterText(v.key, v.value);
    for (const model::ExpectedAnswer& a : c.answers)
        values << answerText(*a.row, a.value);
    return values;
}

QString ExerciseWindow::stateText(std::size_t index) const
{
    const ExerciseProgress& p = m_progress.exercises[index];
    const bool prediction = m_exercises[index].kind->asks == model::Asks::EveryPeriod;
    if (prediction && p.judged > 0)
        return QStringLiteral("%1 : %2 sur %3")
            .arg(p.finished ? QStringLiteral("score final") : QStringLiteral("score"))
            .arg(p.right)
            .arg(p.judged);
    if (p.solved)
        return QStringLiteral("réussi");
    if (p.finished)
        return QStringLiteral("terminé, non réussi");
    if (p.tries > 0)
        return p.tries == 1 ? QStringLiteral("1 essai") : QStringLiteral("%1 essais").arg(p.tries);
    return QStringLiteral("à faire");
}

void ExerciseWindow::listExercise(std::size_t index)
{
    exerciseList->item(int(index))->setText(
        QStringLiteral("%1. %2 — %3").arg(index + 1).arg(kindName(*m_exercises[index].kind), stateText(index)));
}

void ExerciseWindow::showState()
{
    const model::StudentExercise& x = current();
    const ExerciseProgress& p = state();
    QString text;
    if (x.kind->asks == model::Asks::EveryPeriod)
        text = p.finished ? QStringLiteral("Toutes les acquisitions sont faites")
                          : QStringLiteral("Prédisez l'acquisition %1 (de 0 à %2)").arg(p.period).arg(x.periods);
    else if (x.tries > 0)
        text = QStringLiteral("Essais : %1 sur %2").arg(p.tries).arg(x.tries);
    else
        text = QStringLiteral("Essais : %1 (sans limite)").arg(p.tries);
    tries->setText(text + QStringLiteral(" — ") + stateText(m_index) + QLatin1Char('.'));
    verdict->setText(verdictLines(p.lastVerdict));
    checkButton->setEnabled(!p.finished);
    // Only where something is hidden: the oven's values, or the answers expected.
    const bool secrets = !x.hidden.empty() || x.kind->asks == model::Asks::Values;
    revealButton->setVisible(x.revealAfterWrong && secrets && x.kind->asks != model::Asks::EveryPeriod);
    revealButton->setEnabled(!p.revealed && p.tries > 0 && model::mayReveal(x, attempts()));
    for (AnswerField* f : m_fields)
        f->setReadOnly(p.finished);
    regulatorChoice->setEnabled(!p.finished);
    listExercise(m_index);
    showSolution();
}

void ExerciseWindow::keepTyped()
{
    for (AnswerField* f : m_fields)
        state().typed[utf8(f->quantity().key)] = f->text();
    if (current().kind->asks == model::Asks::Regulator)
        state().regulator = regulatorChoice->currentData().toString();
}

void ExerciseWindow::save()
{
    if (current().kind->asks != model::Asks::EveryPeriod)
        keepTyped();
    const QString error =
        saveProgress(m_progress, m_progressFile, QString::fromStdString(m_sheet.id), m_student);
    if (!error.isEmpty())
        refuse(error);
}

// What the student handed in, as he typed it, by the symbols the window
// shows: his regulator's fields only, and an identification's steps.
QStringList ExerciseWindow::answersOf(std::size_t index) const
{
    const model::StudentExercise& x = m_exercises[index];
    const ExerciseProgress& p = m_progress.exercises[index];
    QStringList answers;
    const auto add = [&](std::string_view key, std::string_view symbol, model::Unit unit) {
        if (const std::string typed = keptText(p, key); !typed.empty())
            answers << QStringLiteral("%1 = %2%3").arg(utf8(symbol), QString::fromStdString(typed),
                                                      QString::fromStdString(unitSuffix(unit)));
    };
    if (x.kind->asks == model::Asks::Regulator) {
        const std::optional<model::Regulator> r = model::regulatorByKey(p.regulator.toStdString());
        if (!r)
            return answers;
        answers << QStringLiteral("régulateur %1").arg(utf8(model::regulatorRow(*r).name));
        for (const model::Quantity& q : model::regulatorRow(*r).fields())
            add(q.key, q.symbol, q.unit);
        return answers;
    }
    if (x.kind->asks == model::Asks::Values)
        for (const model::AskedValue& a : x.asked)
            add(a.row->key, a.row->symbol, a.row->unit);
    for (const model::CommandStep& s : p.steps)
        answers << QStringLiteral("U = %1 dès l'acquisition %2").arg(voltsText(s.volts)).arg(s.acquisition);
    return answers;
}

ResultsReport ExerciseWindow::report() const
{
    ResultsReport r{QString::fromStdString(m_sheet.title), QString::fromStdString(m_sheet.id), m_student,
                    QDateTime::currentDateTime(), {}};
    for (std::size_t i = 0; i < m_exercises.size(); ++i) {
        const ExerciseProgress& p = m_progress.exercises[i];
        ExerciseReport e;
        e.number = int(i) + 1;
        e.kind = kindName(*m_exercises[i].kind);
        e.statement = QString::fromStdString(m_sheet.exercises[i].statement);
        e.state = stateText(i);
        e.tries = p.tries;
        e.answers = answersOf(i);
        e.verdict = p.lastVerdict;
        if (p.revealed)
            e.trueValues = trueValues(i);
        e.started = p.started;
        e.lastTry = p.lastTry;
        e.plot = plotPicture(i);
        r.exercises.push_back(std::move(e));
    }
    return r;
}

bool ExerciseWindow::exportResults(const QString& csvPath)
{
    save();
    const QString error = writeResults(report(), csvPath);
    message->setStyleSheet(error.isEmpty() ? QString() : QString::fromLatin1(kRefusedStyle));
    message->setText(error.isEmpty() ? QStringLiteral("Résultats enregistrés dans « %1 » et « %2 ».")
                                           .arg(QDir::toNativeSeparators(csvPath),
                                                QDir::toNativeSeparators(pdfPathOf(csvPath)))
                                     : error);
    return error.isEmpty();
}

void ExerciseWindow::chooseExport()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = safeFileName(QStringLiteral("%1 - %2").arg(QString::fromStdString(m_sheet.title), m_student));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exporter mes résultats"),
                                                      QDir(folder).filePath(name + QStringLiteral(".csv")),
                                                      QStringLiteral("Tableur CSV, avec un PDF à côté (*.csv)"));
    if (!path.isEmpty())
        exportResults(path);
}

void ExerciseWindow::closeEvent(QCloseEvent* event)
{
    save();
    QWidget::closeEvent(event);
}

}  // namespace t1
