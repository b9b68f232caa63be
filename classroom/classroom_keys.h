#pragma once

#include <QKeySequence>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class QAction;
class QWidget;

// What the classroom keys do.
enum class ClassroomAction {
    TogglePause,
    SingleTick,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    FullScreen,
    LeaveFullScreen,
    SavePicture,
    SaveValues,
    Laboratory,
    Help,
};

// A key of the window. None of them is a key the controls use themselves:
// Space presses a button, the arrows move in the lists and the speed bar,
// Tab moves between controls. The help lists them in this order.
struct ClassroomKey {
    ClassroomAction action;
    // The desktop's own keys for it, where it has some; Qt knows them.
    QKeySequence::StandardKey standard;
    // Ours, as Qt's portable key texts, for desktops without a standard
    // key and for keyboards where the standard one is awkward; null when unused.
    std::array<const char*, 2> keys;
    const char* shown;  // the key as the help names it
    const char* help;   // what it does, for the help; null: not listed
    bool repeats;       // held down, it acts again
};

inline constexpr std::array kClassroomKeys{
    ClassroomKey{.action = ClassroomAction::TogglePause, .standard = QKeySequence::UnknownKey, .keys = {"P", nullptr},
                 .shown = "P", .help = "Pause : arrêter ou reprendre l'animation", .repeats = false},
    ClassroomKey{.action = ClassroomAction::SingleTick, .standard = QKeySequence::UnknownKey, .keys = {".", nullptr},
                 .shown = "Point (.)",
                 .help = "En pause : dessiner un instant de plus ; pendant l'animation : la mettre en pause",
                 .repeats = true},
    ClassroomKey{.action = ClassroomAction::ZoomIn, .standard = QKeySequence::ZoomIn, .keys = {"Ctrl++", "Ctrl+="},
                 .shown = "Ctrl et +", .help = "Agrandir la scène", .repeats = true},
    ClassroomKey{.action = ClassroomAction::ZoomOut, .standard = QKeySequence::ZoomOut, .keys = {"Ctrl+-", nullptr},
                 .shown = "Ctrl et -", .help = "Réduire la scène", .repeats = true},
    ClassroomKey{.action = ClassroomAction::ZoomReset, .standard = QKeySequence::UnknownKey,
                 .keys = {"Ctrl+0", nullptr}, .shown = "Ctrl et 0", .help = "Revenir à la taille normale",
                 .repeats = false},
    ClassroomKey{.action = ClassroomAction::FullScreen, .standard = QKeySequence::FullScreen, .keys = {"F11", nullptr},
                 .shown = "F11", .help = "Plein écran, la scène remplit l'écran (F11 ou Échap pour en sortir)",
                 .repeats = false},
    ClassroomKey{.action = ClassroomAction::LeaveFullScreen, .standard = QKeySequence::UnknownKey,
                 .keys = {"Esc", nullptr}, .shown = "Échap", .help = nullptr, .repeats = false},
    ClassroomKey{.action = ClassroomAction::SavePicture, .standard = QKeySequence::Save, .keys = {"Ctrl+S", nullptr},
                 .shown = "Ctrl et S", .help = "Enregistrer l'image telle qu'elle est affichée (PNG)",
                 .repeats = false},
    ClassroomKey{.action = ClassroomAction::SaveValues, .standard = QKeySequence::UnknownKey,
                 .keys = {"Ctrl+E", nullptr}, .shown = "Ctrl et E",
                 .help = "Exporter les valeurs de la boucle de chaque instant dessiné (CSV)", .repeats = false},
    ClassroomKey{.action = ClassroomAction::Laboratory, .standard = QKeySequence::UnknownKey,
                 .keys = {"F2", nullptr}, .shown = "F2",
                 .help = "Laboratoire : simuler la boucle avec vos propres paramètres", .repeats = false},
    ClassroomKey{.action = ClassroomAction::Help, .standard = QKeySequence::HelpContents, .keys = {"F1", nullptr},
                 .shown = "F1", .help = "Afficher cette aide", .repeats = false},
};

// The key sequences of a row: the desktop's standard ones, then ours.
QList<QKeySequence> keySequences(const ClassroomKey& key);

// One action of the window per row of the table, each running `run`.
std::vector<std::pair<ClassroomAction, QAction*>> installClassroomKeys(
    QWidget* window, const std::function<void(ClassroomAction)>& run);
