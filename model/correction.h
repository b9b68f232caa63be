#pragma once

#include "model/draw.h"
#include "model/exercise.h"
#include "model/sample.h"
#include "model/sheet.h"

#include <string>
#include <string_view>
#include <vector>

namespace t1::model {

struct ExpectedAnswer {
    const AnswerRow* row = nullptr;
    double value = 0;
    Tolerance tolerance;
    double allowance = 0;  // in the answer's unit
};

// What a teacher's correction prints for one exercise and one student.
struct ExerciseCorrection {
    std::size_t index = 0;
    const ExerciseKindRow* kind = nullptr;  // none for an unknown kind: nothing else then
    std::vector<DrawnValue> hidden;
    Parameters parameters;
    Start start = Start::Cold;
    int periods = 0;
    std::vector<ExpectedAnswer> answers;  // values worked out at once
    std::vector<Demand> demands;          // a tuning's criteria and bounds
    std::vector<Sample> acquisitions;     // a prediction's right values, period by period
};

struct SheetCorrection {
    std::string student;  // the name as hashed
    std::vector<ExerciseCorrection> exercises;
};

SheetCorrection correction(const Sheet& sheet, std::string_view student);

}  // namespace t1::model
