#pragma once

#include <array>
#include <functional>
#include <utility>
#include <vector>

class QShortcut;
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
    Help,
};

// A key of the window. None of them is a key the controls use themselves:
// Space presses a button, the arrows move in the lists and the speed bar,
// Tab moves between controls. The help lists them in this order.
struct ClassroomKey {
    ClassroomAction action;
    std::array<const char*, 2> keys;  // as Qt's portable key texts; null when unused
    const char* shown;                // the key as the help names it
    const char* help;                 // what it does, for the help; null: not listed
    bool repeats;                     // held down, it acts again
};

inline constexpr std::array kClassroomKeys{
    ClassroomKey{ClassroomAction::TogglePause, {"P", nullptr}, "P", "Pause : arrêter ou reprendre l'animation", false},
    ClassroomKey{ClassroomAction::SingleTick, {".", nullptr}, "Point (.)",
                 "En pause : dessiner un instant de plus ; pendant l'animation : la mettre en pause", true},
    ClassroomKey{ClassroomAction::ZoomIn, {"Ctrl++", "Ctrl+="}, "Ctrl et +", "Agrandir la scène", true},
    ClassroomKey{ClassroomAction::ZoomOut, {"Ctrl+-", nullptr}, "Ctrl et -", "Réduire la scène", true},
    ClassroomKey{ClassroomAction::ZoomReset, {"Ctrl+0", nullptr}, "Ctrl et 0", "Revenir à la taille normale", false},
    ClassroomKey{ClassroomAction::FullScreen, {"F11", nullptr}, "F11",
                 "Plein écran, la scène remplit l'écran (F11 ou Échap pour en sortir)", false},
    ClassroomKey{ClassroomAction::LeaveFullScreen, {"Esc", nullptr}, "Échap", nullptr, false},
    ClassroomKey{ClassroomAction::SavePicture, {"Ctrl+S", nullptr}, "Ctrl et S",
                 "Enregistrer l'image telle qu'elle est affichée (PNG)", false},
    ClassroomKey{ClassroomAction::SaveValues, {"Ctrl+E", nullptr}, "Ctrl et E",
                 "Exporter les valeurs de la boucle de chaque instant dessiné (CSV)", false},
    ClassroomKey{ClassroomAction::Help, {"F1", nullptr}, "F1", "Afficher cette aide", false},
};

// One shortcut of the window per key of the table, each running `run`.
std::vector<std::pair<ClassroomAction, QShortcut*>> installClassroomKeys(
    QWidget* window, const std::function<void(ClassroomAction)>& run);
