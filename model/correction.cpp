#include "model/correction.h"

#include "model/exercise_kinds.h"

namespace t1::model {

SheetCorrection correction(const Sheet& sheet, std::string_view student)
{
    SheetCorrection c{normalisedName(student), {}};
    for (std::size_t i = 0; i < sheet.exercises.size() && i < kMaxExercises; ++i) {
        ExerciseCorrection e;
        e.index = i;
        if (const std::optional<StudentExercise> x = studentExercise(sheet, i, student)) {
            e.kind = x->kind;
            e.hidden = x->hidden;
            e.parameters = x->parameters;
            e.start = x->start;
            e.periods = x->periods;
            x->kind->correct(*x, e);
        }
        c.exercises.push_back(std::move(e));
    }
    return c;
}

}  // namespace t1::model
