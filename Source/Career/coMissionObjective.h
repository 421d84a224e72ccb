#pragma once
#include "Engine/Core/Env/envString.h"

class coCoasterPiece;
class coProp;
class gfTextSet;

// The piece kind codes of objectives and budgets, by the piece's class (turns by the sign of their angle:
// a negative angle curves right).
enum coPieceKindCode : int {
    coPieceCodeStraight = 0,
    coPieceCodeTurnRight = 1,
    coPieceCodeTurnLeft = 2,
    coPieceCodeSTurn = 3,
    coPieceCodeLoop = 4,
    coPieceCodeCorkscrew = 5,
    coPieceCodeHalfLoop = 10,
    coPieceCodeHalfCorkscrewRight = 11,
    coPieceCodeHalfCorkscrewLeft = 12,
    coPieceCodeUp = 13,
    coPieceCodeShallowTurnRight = 14,
    coPieceCodeShallowTurnLeft = 15,
    coPieceCodeOther = 16,
};
int coObjectivePieceKind(const coCoasterPiece& piece);

// The statistic objectives' kinds, as mission files store them; each reads one value of the ride's
// statistics (coStatKindRecord).
enum coStatKind : int {
    coStatKindLowestSpeed,
    coStatKindTopSpeed,
    coStatKindAverageSpeed,
    coStatKindHighestVerticalG,
    coStatKindLowestVerticalG,
    coStatKindHighestPoint,
    coStatKindLowestPoint,
    coStatKindRideTime,
    coStatKindTrackLength,
    coStatKindHighestLateralG,
    coStatKindLowestLateralG,
    coStatKindHighestForwardG,
    coStatKindLowestForwardG,
};
inline constexpr int coStatObjectiveKindCount = coStatKindLowestForwardG + 1;
// The index in the ride's statistics (coRideStatIndex) that a valid kind reads.
int coStatKindRecord(int kind);

// One condition of a mission on the finished and ridden coaster, with its one-line description, built
// from the objective texts ("uiop.tsf") when the objective is made.
class coMissionObjective {
  public:
    virtual ~coMissionObjective() = default;
    virtual bool IsMet() const = 0;
    const envString& GetDescription() const { return m_description; }

  protected:
    envString m_description;
};

// A ride statistic beyond a threshold (in the statistics' own units): above it, or below it.
class coStatObjective : public coMissionObjective {
  public:
    coStatObjective(int kind, bool above, float threshold, const gfTextSet& texts);
    bool IsMet() const override;
    int GetKind() const { return m_kind; }
    bool IsAbove() const { return m_above; }
    float GetThreshold() const { return m_threshold; }

  private:
    int m_kind;
    bool m_above;
    float m_threshold;
};

// A number of pieces of one kind in the circuit, or a run of that many in a row.
class coTrackCountObjective : public coMissionObjective {
  public:
    coTrackCountObjective(int code, int count, bool consecutive, const gfTextSet& texts);
    bool IsMet() const override;
    int GetCode() const { return m_code; }
    int GetCount() const { return m_count; }
    bool IsConsecutive() const { return m_consecutive; }

  private:
    int m_code;
    int m_count;
    bool m_consecutive;
};

// The ride comes near a prop for at least the threshold. The prop is not owned; null when the objective
// was read without the mission's props.
class coPropProximityObjective : public coMissionObjective {
  public:
    coPropProximityObjective(coProp* prop, float threshold, const gfTextSet& texts);
    bool IsMet() const override;
    coProp* GetProp() const { return m_prop; }
    float GetThreshold() const { return m_threshold; }

  protected:
    // For the event objective, which describes itself.
    coPropProximityObjective(coProp* prop, float threshold);

  private:
    coProp* m_prop;
    float m_threshold;
};

// Near the prop, with the prop showing one animation event of its template.
class coPropActivationEventObjective : public coPropProximityObjective {
  public:
    coPropActivationEventObjective(coProp* prop, float threshold, int event, const gfTextSet& texts);
    bool IsMet() const override;
    int GetEvent() const { return m_event; }

  private:
    int m_event;
};

// The ride passes the prop as the order-th of the props whose order is recorded; making one with a prop
// switches that prop's recording on.
class coPropOrderingObjective : public coMissionObjective {
  public:
    coPropOrderingObjective(coProp* prop, int order, const gfTextSet& texts);
    bool IsMet() const override;
    coProp* GetProp() const { return m_prop; }
    int GetOrder() const { return m_order; }

  private:
    coProp* m_prop;
    int m_order;
};

// Every target ring flown through.
class coRingObjective : public coMissionObjective {
  public:
    explicit coRingObjective(const gfTextSet& texts);
    bool IsMet() const override;
};
