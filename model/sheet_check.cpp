#include "model/sheet_check.h"

#include "model/exercise_kinds.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

class ExerciseCheck {
public:
    ExerciseCheck(const Exercise& e, std::size_t index, std::vector<Fault>& faults)
        : m_e(e), m_index(index), m_faults(faults), m_kind(exerciseKind(e.kind))
    {
    }

    void run()
    {
        if (!m_kind)
            fault(Section::Exercise, "kind", FaultCode::UnknownKind);
        if (characterCount(m_e.statement) > kMaxTextCharacters)
            fault(Section::Exercise, "statement", FaultCode::TooLong, 0, kMaxTextCharacters);
        if (!startByKey(m_e.start))
            fault(Section::Exercise, "start", FaultCode::UnknownKey);
        checkNumber(m_faults, m_index, Section::Exercise, std::string(kExercisePeriods.key), kExercisePeriods,
                    m_e.periods);
        if (m_e.tries < 0)
            fault(Section::Exercise, "tries", FaultCode::Negative);
        for (const FixedValue& v : m_e.fixed)
            if (const std::optional<SheetParameter> p = parameter(Section::Fixed, v.key))
                checkNumber(m_faults, m_index, Section::Fixed, v.key, p->quantity, v.value);
        for (const HiddenRange& r : m_e.hidden)
            if (const std::optional<SheetParameter> p = parameter(Section::Hidden, r.key))
                hiddenRange(r, p->quantity);
        sampling();
        asked();
        offered();
        if (m_kind && m_kind->validate)
            m_kind->validate(m_e, m_index, m_faults);
    }

private:
    void fault(Section section, const std::string& key, FaultCode code, double low = 0, double high = 0)
    {
        addFault(m_faults, m_index, section, key, code, low, high);
    }

    // The parameter a key names, if it is known, read by the kind and set once.
    std::optional<SheetParameter> parameter(Section section, const std::string& key)
    {
        const std::optional<SheetParameter> p = sheetParameter(key);
        if (!p)
            fault(section, key, FaultCode::UnknownKey);
        else if (m_kind && !readsParameter(*m_kind, key))
            fault(section, key, FaultCode::Unused);
        if (std::find(m_seen.begin(), m_seen.end(), key) != m_seen.end())
            fault(section, key, FaultCode::Duplicate);
        m_seen.push_back(key);
        return p;
    }

    void hiddenRange(const HiddenRange& r, const Quantity& q)
    {
        const std::size_t before = m_faults.size();
        checkNumber(m_faults, m_index, Section::Hidden, r.key, q, r.low);
        // Both ends out of range is one fault.
        if (m_faults.size() == before)
            checkNumber(m_faults, m_index, Section::Hidden, r.key, q, r.high);
        if (r.low > r.high)
            fault(Section::Hidden, r.key, FaultCode::InvertedRange);
        if (std::isnan(r.step) || std::isinf(r.step))
            fault(Section::Hidden, r.key, FaultCode::NotANumber);
        else if (r.step < 0)
            fault(Section::Hidden, r.key, FaultCode::Negative);
        if (r.decimals && (*r.decimals < 0 || *r.decimals > kMaxDecimals))
            fault(Section::Hidden, r.key, FaultCode::BadDecimals, 0, kMaxDecimals);
    }

    bool sets(std::string_view key) const
    {
        return std::find(m_seen.begin(), m_seen.end(), key) != m_seen.end();
    }

    // T_s gives T/T1 = T_s/T1 for every T1 the exercise may draw.
    void sampling()
    {
        if (!sets(kSamplingSeconds.key))
            return;
        const std::string key(kSamplingSeconds.key);
        if (sets(kSampling.key))
            fault(Section::Exercise, key, FaultCode::Conflict);
        const ValueSpan t = valueSpan(m_e, kSamplingSeconds);
        const ValueSpan t1 = valueSpan(m_e, kTimeConstant);
        // Either range may be inverted: a fault of its own.
        const double least = std::fmin(t.low, t.high) / std::fmax(t1.low, t1.high);
        const double most = std::fmax(t.low, t.high) / std::fmin(t1.low, t1.high);
        if (!(least >= kSampling.low && most <= kSampling.high))
            fault(Section::Exercise, key, FaultCode::RatioOutOfRange, kSampling.low, kSampling.high);
    }

    void asked()
    {
        if (m_kind && m_kind->answers.empty() && !m_e.asked.empty())
            fault(Section::Asked, "asked", FaultCode::Unused);
        std::vector<std::string_view> seen;
        for (const AskedAnswer& a : m_e.asked) {
            if (m_kind && !m_kind->answers.empty() && !answerRow(*m_kind, a.key))
                fault(Section::Asked, a.key, FaultCode::UnknownKey);
            if (std::find(seen.begin(), seen.end(), a.key) != seen.end())
                fault(Section::Asked, a.key, FaultCode::Duplicate);
            seen.push_back(a.key);
            if (!a.tolerance)
                continue;
            const double parts[] = {a.tolerance->percent, a.tolerance->absolute};
            if (std::any_of(std::begin(parts), std::end(parts), [](double v) { return !std::isfinite(v); }))
                fault(Section::Asked, a.key, FaultCode::NotANumber);
            else if (std::any_of(std::begin(parts), std::end(parts), [](double v) { return v < 0; }))
                fault(Section::Asked, a.key, FaultCode::Negative);
        }
    }

    // What the kind lets the sheet say of criteria and regulators.
    void offered()
    {
        if (!m_kind)
            return;
        if (m_kind->judging != Judging::Criteria && !m_e.criteria.empty())
            fault(Section::Criteria, "criteria", FaultCode::Unused);
        if (m_kind->asks != Asks::Regulator && !m_e.regulators.empty())
            fault(Section::Regulators, "regulators", FaultCode::Unused);
        if (m_e.regulator.empty())
            return;
        if (!m_kind->sheetRegulator)
            fault(Section::Regulators, m_e.regulator, FaultCode::Unused);
        else if (!regulatorByKey(m_e.regulator))
            fault(Section::Regulators, m_e.regulator, FaultCode::UnknownKey);
    }

    const Exercise& m_e;
    std::size_t m_index;
    std::vector<Fault>& m_faults;
    const ExerciseKindRow* m_kind;
    std::vector<std::string_view> m_seen;  // parameters, fixed or hidden
};

}  // namespace

void addFault(std::vector<Fault>& faults, std::size_t exercise, Section section, std::string key, FaultCode code,
              double low, double high)
{
    faults.push_back({exercise, section, std::move(key), code, low, high});
}

void checkNumber(std::vector<Fault>& faults, std::size_t exercise, Section section, const std::string& key,
                 const Quantity& quantity, double value)
{
    if (!std::isfinite(value))
        addFault(faults, exercise, section, key, FaultCode::NotANumber);
    else if (quantity.whole && quantity.accepts(std::round(value)) && !quantity.accepts(value))
        addFault(faults, exercise, section, key, FaultCode::NotWhole);
    else if (!quantity.accepts(value))
        addFault(faults, exercise, section, key, FaultCode::OutOfRange, quantity.low, quantity.high);
}

ValueSpan valueSpan(const Exercise& exercise, const Quantity& quantity)
{
    if (const FixedValue* v = fixedValue(exercise, quantity.key))
        return {v->value, v->value};
    if (const HiddenRange* r = hiddenRange(exercise, quantity.key))
        return {r->low, r->high};
    return {quantity.fallback, quantity.fallback};
}

std::vector<Fault> validate(const Sheet& sheet)
{
    std::vector<Fault> faults;
    const auto fault = [&faults](const char* key, FaultCode code, double high = 0) {
        faults.push_back({std::nullopt, Section::Sheet, key, code, 0, high});
    };
    if (sheet.id.empty())
        fault("id", FaultCode::Missing);
    if (characterCount(sheet.title) > kMaxTextCharacters)
        fault("title", FaultCode::TooLong, kMaxTextCharacters);
    if (characterCount(sheet.introduction) > kMaxTextCharacters)
        fault("introduction", FaultCode::TooLong, kMaxTextCharacters);
    if (sheet.exercises.empty())
        fault("exercises", FaultCode::Missing);
    if (sheet.exercises.size() > kMaxExercises)
        fault("exercises", FaultCode::TooMany, kMaxExercises);
    // The exercises past the limit are not read: no fault of theirs.
    for (std::size_t i = 0; i < sheet.exercises.size() && i < kMaxExercises; ++i)
        ExerciseCheck(sheet.exercises[i], i, faults).run();
    return faults;
}

}  // namespace t1::model
