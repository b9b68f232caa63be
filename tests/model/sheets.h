#pragma once

#include "model/exercise.h"
#include "model/sheet.h"

#include <string>
#include <utility>
#include <vector>

namespace t1::testing {

using namespace t1::model;

inline Exercise exerciseOf(std::string kind, std::vector<FixedValue> fixed, std::vector<HiddenRange> hidden = {})
{
    Exercise e;
    e.kind = std::move(kind);
    e.statement = "Énoncé";
    e.fixed = std::move(fixed);
    e.hidden = std::move(hidden);
    return e;
}

inline Sheet sheetOf(std::vector<Exercise> exercises, std::string id = "TP3-2025")
{
    return {"Travaux pratiques 3", std::move(id), "", std::move(exercises)};
}

// The only exercise of a one-exercise sheet, for a student.
inline StudentExercise only(const Exercise& e, const char* student = "Jean Dupont")
{
    return *studentExercise(sheetOf({e}), 0, student);
}

inline Submission typed(std::vector<TypedAnswer> answers, int period = 0)
{
    Submission s;
    s.answers = std::move(answers);
    s.period = period;
    return s;
}

}  // namespace t1::testing
