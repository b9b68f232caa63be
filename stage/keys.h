#pragma once

#include <QKeySequence>

#include <array>
#include <functional>
#include <span>
#include <utility>
#include <vector>

class QAction;
class QWidget;

// What the windows' keys do. Each window offers the subset it has a
// handler for; the help lists them all.
enum class KeyAction {
    TogglePause,
    SingleTick,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    FullScreen,
    LeaveFullScreen,
    SavePicture,
    SaveValues,
    SaveSetup,
    OpenSetup,
    Laboratory,
    Exercises,
    Help,
};

// A key of a window. None of them is a key the controls use themselves:
// Space presses a button, the arrows move in the lists and the speed bar,
// Tab moves between controls. The help lists them in this order.
struct KeyRow {
    KeyAction action;
    // The desktop's own keys for it, where it has some; Qt knows them.
    QKeySequence::StandardKey standard;
    // Ours, as Qt's portable key texts, for desktops without a standard
    // key and for keyboards where the standard one is awkward; null when unused.
    std::array<const char*, 2> keys;
    const char* shown;  // the key as the help names it
    const char* help;   // what it does, for the help; null: not listed
    bool repeats;       // held down, it acts again
};

inline constexpr std::array kKeys{
    KeyRow{.action = KeyAction::TogglePause, .standard = QKeySequence::UnknownKey, .keys = {"P", nullptr},
                 .shown = "P", .help = "Pause : arrêter ou reprendre l'animation", .repeats = false},
    KeyRow{.action = KeyAction::SingleTick, .standard = QKeySequence::UnknownKey, .keys = {".", nullptr},
                 .shown = "Point (.)",
                 .help = "En pause : dessiner un instant de plus ; pendant l'animation : la mettre en pause",
                 .repeats = true},
    KeyRow{.action = KeyAction::ZoomIn, .standard = QKeySequence::ZoomIn, .keys = {"Ctrl++", "Ctrl+="},
                 .shown = "Ctrl et +", .help = "Agrandir la scène", .repeats = true},
    KeyRow{.action = KeyAction::ZoomOut, .standard = QKeySequence::ZoomOut, .keys = {"Ctrl+-", nullptr},
                 .shown = "Ctrl et -", .help = "Réduire la scène", .repeats = true},
    KeyRow{.action = KeyAction::ZoomReset, .standard = QKeySequence::UnknownKey,
                 .keys = {"Ctrl+0", nullptr}, .shown = "Ctrl et 0", .help = "Revenir à la taille normale",
                 .repeats = false},
    KeyRow{.action = KeyAction::FullScreen, .standard = QKeySequence::FullScreen, .keys = {"F11", nullptr},
                 .shown = "F11", .help = "Plein écran, la scène remplit l'écran (F11 ou Échap pour en sortir)",
                 .repeats = false},
    KeyRow{.action = KeyAction::LeaveFullScreen, .standard = QKeySequence::UnknownKey,
                 .keys = {"Esc", nullptr}, .shown = "Échap", .help = nullptr, .repeats = false},
    KeyRow{.action = KeyAction::SavePicture, .standard = QKeySequence::Save, .keys = {"Ctrl+S", nullptr},
                 .shown = "Ctrl et S", .help = "Enregistrer l'image telle qu'elle est affichée (PNG)",
                 .repeats = false},
    KeyRow{.action = KeyAction::SaveValues, .standard = QKeySequence::UnknownKey,
                 .keys = {"Ctrl+E", nullptr}, .shown = "Ctrl et E",
                 .help = "Exporter les valeurs de la boucle de chaque instant dessiné (CSV)", .repeats = false},
    KeyRow{.action = KeyAction::SaveSetup, .standard = QKeySequence::SaveAs, .keys = {"Ctrl+Shift+S", nullptr},
                 .shown = "Ctrl, Maj et S",
                 .help = "Laboratoire : enregistrer la configuration, tous les réglages du formulaire (JSON)",
                 .repeats = false},
    KeyRow{.action = KeyAction::OpenSetup, .standard = QKeySequence::Open, .keys = {"Ctrl+O", nullptr},
                 .shown = "Ctrl et O", .help = "Laboratoire : ouvrir une configuration enregistrée",
                 .repeats = false},
    KeyRow{.action = KeyAction::Laboratory, .standard = QKeySequence::UnknownKey,
                 .keys = {"F2", nullptr}, .shown = "F2",
                 .help = "Laboratoire : simuler la boucle avec vos propres paramètres", .repeats = false},
    KeyRow{.action = KeyAction::Exercises, .standard = QKeySequence::UnknownKey,
                 .keys = {"F3", nullptr}, .shown = "F3",
                 .help = "Exercices : faire une feuille d'exercices de votre professeur", .repeats = false},
    KeyRow{.action = KeyAction::Help, .standard = QKeySequence::HelpContents, .keys = {"F1", nullptr},
                 .shown = "F1", .help = "Afficher cette aide", .repeats = false},
};

// The key sequences of a row: the desktop's standard ones, then ours.
QList<QKeySequence> keySequences(const KeyRow& key);

// What a window does on one of the keys.
struct KeyHandler {
    KeyAction action;
    std::function<void()> run;
};

// One action of the window per key it offers, in the table's order, each
// running its handler; the actions by what they do. Keys with Ctrl or a
// function key act even while a text field has the keyboard (which would
// otherwise take Ctrl+E as "end of line"); plain keys are the field's.
std::vector<std::pair<KeyAction, QAction*>> installKeys(QWidget* window, std::span<const KeyHandler> offered);
