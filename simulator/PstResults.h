#pragma once

#include "FaultSet.h"
#include "StrokeSignature.h"

namespace orvx::simulator {

class ParameterTable;

// The limits a PST is graded against, in the unit the results are reported in.
struct PstLimits {
    double frictionLow;
    double frictionHigh;
    double breakaway;
    double droop;
};

// What the device reads off a PST signature, and how it grades it. Pressures in psi; a value
// the stroke did not show (no stroke to read friction on, a valve that never came back) counts
// as 0. A test stopped short of its travel is read over the stroke it made.
class PstResults {
public:
    explicit PstResults(const StrokeSignature& signature);

    // Half the pressure gap between the two strokes at the middle of the stroke made.
    double Friction() const { return m_friction; }
    // The spring line through the pressure at rest before the test and the middle of the
    // friction band at mid-travel, at the two ends of travel.
    double SpringLow() const { return m_springLow; }
    double SpringHigh() const { return m_springHigh; }
    // How far the pressure fell before the valve first moved, or before the test gave up on it.
    double Breakaway() const { return m_breakaway; }
    // The largest fall of the pressure while the valve was held at the end of the exhaust stroke.
    double Droop() const { return m_droop; }
    // Seconds from the start of each stroke until the valve got where it was sent.
    double ExhaustSeconds() const { return m_exhaustS; }
    double FillSeconds() const { return m_fillS; }
    // The valve made its travel and came back, and the device did not stop the test early.
    bool Completed() const { return m_completed; }

    struct Grade {
        bool frictionBelow = false;
        bool frictionAbove = false;
        bool breakawayExceeded = false;
        bool droopExceeded = false;
        bool springTooWeak = false;  // the spring could not close the valve against its breakaway
        bool incomplete = false;
        int stuck = 0;  // the Valve Stuck fault bit of a valve that never moved, else 0
        bool Passed() const
        {
            return !(frictionBelow || frictionAbove || breakawayExceeded || droopExceeded || springTooWeak ||
                     incomplete);
        }
        // The fault bits a PST graded so raises: new PST data, and each failure.
        FaultSet Faults() const;
    };
    // Friction passes strictly between its limits, breakaway and droop strictly below theirs; a
    // friction the test could not read is not graded. The values compared are the ones the
    // device reports in 'unit', rounded as it reports them.
    Grade GradeAgainst(const PstLimits& limits, int unit) const;

    // The device's record of the test: the results (PstPassed to PstFillTime), the curves, the
    // sample interval and the record values (RecordPassed to RecordSpeed), pressures in 'unit'.
    void Write(ParameterTable& table, const StrokeSignature& signature, const PstSettings& settings, bool passed,
               int unit) const;

private:
    double m_friction = 0.0;
    double m_springLow = 0.0;
    double m_springHigh = 0.0;
    double m_breakaway = 0.0;
    double m_droop = 0.0;
    double m_exhaustS = 0.0;
    double m_fillS = 0.0;
    bool m_completed = false;
    bool m_moved = false;
    bool m_frictionRead = false;
    bool m_towardOpen = false;  // the exhaust stroke heads toward the open end
};

}  // namespace orvx::simulator
