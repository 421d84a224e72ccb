#include "Source/World/coPropList.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coInvalidPropFileX.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coTrackProp.h"

#include <algorithm>
#include <optional>
#include <set>

namespace {

bool Overlap(const maBoundingBox& a, const maBoundingBox& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY && a.minZ <= b.maxZ &&
           b.minZ <= a.maxZ;
}

// What the ride's statistics measure of the placed props: a prop counts as passed within its trigger
// distance, and its order is checked when an objective watches it.
class PlacedRideProps : public coRideProps {
  public:
    void CollectAll(std::vector<const coProp*>& props) const override {
        props.clear();
        std::vector<coProp*> placed;
        coPropList::CollectAll(placed);
        props.assign(placed.begin(), placed.end());
    }
    float GetProximityRadius(const coProp* prop) const override { return prop->GetTriggerDistance(); }
    maBoundingBox GetBounds(const coProp* prop) const override { return prop->GetBounds(); }
    bool GetOrderingFlag(const coProp* prop) const override { return prop->GetObjectiveFlag() != 0; }
};

PlacedRideProps g_rideProps;

} // namespace

coPropRecords::~coPropRecords() = default;

void coPropRecords::Make() {
    if (!made)
        coPropList::MakeProps(records, props);
    made = true;
}

std::vector<std::unique_ptr<coProp>> coPropRecords::Take() {
    Make();
    return std::move(props);
}

// Never destroyed: at exit the scene packages the props' models would leave may be gone.
std::list<std::unique_ptr<coProp>>& coPropList::Props() {
    static auto* props = new std::list<std::unique_ptr<coProp>>;
    return *props;
}

std::vector<coTrackProp*>& coPropList::TrackProps() {
    static std::vector<coTrackProp*> props;
    return props;
}

bool& coPropList::Shown() {
    static bool shown = true;
    return shown;
}

void coPropList::Add(std::unique_ptr<coProp> prop) {
    coSetRideProps(&g_rideProps);
    if (auto* track = dynamic_cast<coTrackProp*>(prop.get()))
        TrackProps().push_back(track);
    else
        coGetPlacementGrid().MarkBox(prop->GetBounds(), coPlacementGrid::kOccupied);
    Props().push_back(std::move(prop));
}

void coPropList::Remove(coProp* prop) {
    auto& props = Props();
    const auto it =
        std::find_if(props.begin(), props.end(), [prop](const auto& p) { return p.get() == prop; });
    if (it == props.end()) {
        DBG_WARNING("placed props: removing a prop that is not placed; ignored");
        return;
    }
    std::unique_ptr<coProp> owned = std::move(*it);
    props.erase(it);
    auto& tracks = TrackProps();
    const auto track = std::find(tracks.begin(), tracks.end(), prop);
    if (track != tracks.end()) {
        tracks.erase(track);
        return;
    }
    FreeGridCells(prop->GetBounds(), prop);
}

void coPropList::FreeGridCells(const maBoundingBox& freed, const coObject* leaving) {
    coPlacementGrid& grid = coGetPlacementGrid();
    grid.MarkBox(freed, coPlacementGrid::kFree);
    for (const auto& prop : Props())
        if (prop.get() != leaving && !dynamic_cast<coTrackProp*>(prop.get()))
            grid.MarkBox(prop->GetBounds(), coPlacementGrid::kOccupied);
    if (const coLoadingDock* dock = coGetDock(); dock && dock != leaving)
        grid.MarkBox(coDockBounds(*dock), coPlacementGrid::kOccupied);
}

void coPropList::DeleteAll() {
    std::set<coPropTemplate*> templates;
    for (const auto& prop : Props())
        templates.insert(&prop->GetTemplate());
    TrackProps().clear();
    Props().clear();
    for (coPropTemplate* propTemplate : templates)
        if (coProp::CountUsing(*propTemplate) == 0)
            coUnloadPropTemplate(*propTemplate);
}

void coPropList::CollectAll(std::vector<coProp*>& out) {
    for (const auto& prop : Props())
        out.push_back(prop.get());
}

const std::vector<coTrackProp*>& coPropList::GetTrackProps() {
    return TrackProps();
}

void coPropList::SetAllVisible(bool visible) {
    for (const auto& prop : Props())
        prop->SetVisible(visible);
    Shown() = visible;
}

void coPropList::SetAllActive(bool active) {
    for (const auto& prop : Props())
        prop->SetActive(active);
}

// The lead car is asked once for every prop: before the ride has cars there is none to trigger them.
void coPropList::UpdateAll(f32 time) {
    std::optional<maVector3d> car;
    if (coRideHasCars(0))
        car = coRideGetLeadCar(0).frame.GetTranslation();
    for (const auto& prop : Props())
        prop->Advance(time, car && prop->IsCarInside(*car));
}

void coPropList::PauseSounds() {
    for (const auto& prop : Props())
        prop->PauseSounds();
}

void coPropList::ResumeSounds() {
    for (const auto& prop : Props())
        prop->ResumeSounds();
}

bool coPropList::ArePropsShown() {
    return Shown();
}

void coPropList::CullByDistance(const maVector3d& camera) {
    if (!Shown())
        return;
    const f32 r = coPrefs::GetFloat(coPrefPropFarClipping) * 400.0f + 80.0f;
    for (const auto& prop : Props()) {
        const maVector3d d = prop->GetPosition() - camera;
        prop->SetVisible(d.x * d.x + d.y * d.y + d.z * d.z < r * r);
    }
}

void coPropList::UncullAll() {
    if (Shown())
        for (const auto& prop : Props())
            prop->SetVisible(true);
}

void coPropList::FindInBox(const maBoundingBox& box, std::vector<coProp*>& out) {
    out.clear();
    for (const auto& prop : Props())
        if (Overlap(prop->GetBounds(), box))
            out.push_back(prop.get());
}

void coPropList::PlaceAllTrackProps() {
    for (coTrackProp* prop : TrackProps())
        prop->PlaceOnTrack();
}

void coPropList::RemoveTrackPropsOnPiece(const coCoasterPiece* piece) {
    std::vector<coTrackProp*> onPiece;
    for (coTrackProp* prop : TrackProps())
        if (prop->GetPiece() == piece)
            onPiece.push_back(prop);
    for (coTrackProp* prop : onPiece)
        Remove(prop);
}

void coPropList::MoveTrackProps(const coCoasterPiece* from, coCoasterPiece* to) {
    for (coTrackProp* prop : TrackProps())
        if (prop->GetPiece() == from)
            prop->SetPiece(to);
}

coPropRecord coMakePropRecord(const coProp& prop) {
    coPropRecord record;
    const coPropTemplate& propTemplate = prop.GetTemplate();
    record.name = propTemplate.GetInternalName();
    if (const auto* track = dynamic_cast<const coTrackProp*>(&prop)) {
        record.track = true;
        record.pieceIndex = track->GetPieceIndex();
        record.distance = track->GetDistance();
    } else {
        record.position = prop.GetPosition();
        record.heading = prop.GetAngle();
    }
    record.activeEvent = prop.GetActiveEvent();
    record.hasEvent = propTemplate.GetListSize(coPropTemplate::kEntry) > 1;
    return record;
}

void coPropList::WriteChunk(chWriter& writer, const std::vector<coProp*>& props) {
    std::vector<coPropRecord> records;
    for (const coProp* prop : props)
        records.push_back(coMakePropRecord(*prop));
    coWritePropRecords(writer, records);
}

void coPropList::ReadChunk(chReader& reader, std::vector<std::unique_ptr<coProp>>& out) {
    std::vector<coPropRecord> records;
    coReadPropRecords(reader, records);
    MakeProps(records, out);
}

void coPropList::MakeProps(const std::vector<coPropRecord>& records,
                           std::vector<std::unique_ptr<coProp>>& out) {
    for (const coPropRecord& record : records) {
        int category, index;
        coFindPropTemplate(record.name, category, index);
        if (category < 0) {
            // A kind this game lacks is left out; one whose damaged file kept it off the list is told.
            if (const fsLocator refused = coPropTemplateList::GetRefusedFile(record.name);
                refused.GetComponentCount() > 0)
                throw coInvalidPropFileX(refused);
            continue;
        }
        coPropTemplate& propTemplate = *coPropTemplateList::GetTemplate(index, category);
        coLoadPropTemplate(propTemplate);
        std::unique_ptr<coProp> prop;
        if (record.track) {
            auto track = std::make_unique<coTrackProp>(propTemplate);
            track->SetPieceIndex(record.pieceIndex);
            track->SetDistance(record.distance);
            prop = std::move(track);
        } else {
            prop = std::make_unique<coProp>(propTemplate);
            prop->SetPosition(record.position);
            prop->SetAngle(record.heading);
        }
        if (record.hasEvent)
            prop->SetActiveEvent(record.activeEvent);
        out.push_back(std::move(prop));
    }
}
