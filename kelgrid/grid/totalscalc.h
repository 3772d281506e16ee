#pragma once
// TKelTotalsCalc: the grid's part that calculates its trCalcValue totals
// and its sequence numbers, and holds the two timers that delay them.
//
// A calculation is three passes over the totals that take part (cpReset,
// one cpCalcRec per visited record, cpFinal). Which bands take part, which
// records are visited (all of them, or the bookmarks of the selected rows)
// and which totals count a record follow the grid's OptionsEx, the totals'
// selection state and each total's CalcApply; the participants and their
// fields are collected once in the reset pass, so the walk does no lookups.
//
// A whole-dataset walk with nothing per record to run (no handler, no
// selection, plain data fields) reads the fields through the dataset's
// source instead (totalsfastpath.h), with the same results.
//
// Walks run inside the grid's position bracket (DisablePosition /
// EnablePosition): the current record and its screen row come back also
// when the dataset or a handler raises; the error then passes on. A
// running calculation or sequence walk makes nested requests return.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/grid/totalaccumulate.h"
#include "toolkit/ui/singleshottimer.h"

#include <vector>

namespace tk {
class TDataSet;
class TField;
}  // namespace tk

namespace kelgrid {

class TKelColumnTotalValue;
class TKelCustomDBGrid;

class TKelTotalsCalc {
public:
    explicit TKelTotalsCalc(TKelCustomDBGrid& grid);
    TKelTotalsCalc(const TKelTotalsCalc&) = delete;
    TKelTotalsCalc& operator=(const TKelTotalsCalc&) = delete;

    // The three passes now. selected: the run a settled selection asks for
    // (only bands with their selected flag, over the selected rows).
    // Returns false when a calculation was already running.
    bool Calculate(bool selected);
    bool Calculating() const { return calculating_; }

    // The current record's place (from 1) and the record count, by moving
    // to both ends; both 0 for an empty dataset. Returns false when a walk
    // was already running.
    bool CalculateSequence();
    bool SequenceRunning() const { return inSequence_; }
    int RecNumber() const { return recNumber_; }
    // The grid moved the current record: its number follows without a walk.
    void SetRecNumber(int number) { recNumber_ = number; }
    int RecCount() const { return recCount_; }

    // The timers of the delayed requests (fire after DelayInterval).
    tk::TSingleShotTimer& TotalsTimer() { return totalsTimer_; }
    tk::TSingleShotTimer& SequenceTimer() { return sequenceTimer_; }

private:
    // One total taking part, with what the walk needs looked up.
    struct TEntry {
        TKelColumnTotalValue* total;
        tk::TField* field;
        TCalcValue kind;
        TNullValue nulls;
        bool currencyFloat;  // a float field flagged as currency
        bool selectedOnly;   // visits only the selected records
        bool countsRecords;  // takes part in the record pass (CalcApply)
        bool failed;
    };

    void Reset(bool selected);
    void Walk(bool selected, tk::TDataSet& dataSet);
    // The whole dataset through its source (totalsfastpath.h); false when
    // the fast path does not apply and nothing was counted.
    bool CountBySource(tk::TDataSet& dataSet);
    void CalcRecord(tk::TDataSet& dataSet);
    void CountValue(TEntry& entry, tk::Variant value);
    void Final();
    bool ColumnsOnly() const;

    TKelCustomDBGrid& grid_;
    std::vector<TEntry> entries_;
    bool selectedMode_ = false;
    bool needsRecordSelection_ = false;
    bool calculating_ = false;
    bool inSequence_ = false;
    int recNumber_ = 0;
    int recCount_ = 0;
    tk::TSingleShotTimer totalsTimer_;
    tk::TSingleShotTimer sequenceTimer_;
};

}  // namespace kelgrid
