#include "Engine/Graphics/Sc/scSceneManager.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dPackage.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scAttachment.h"
#include "Engine/Graphics/Sc/scGeneratorEvents.h"
#include "Engine/Graphics/Sc/scHierarchyObject.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGenerator.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"

#include <algorithm>
#include <list>

// The lists, friend of scObject for its in-list mark. Entries leave in two steps while a walk runs:
// they are emptied at once and unlinked when the outermost walk ends, so that whatever an update or a
// handler removes never pulls an entry from under the walk.
struct scSceneLists {
    struct Record {
        scAttachment* attachment;
        g3dTransformTreeNode* node;
        scObject* object;
        scMovableObject* movable;
        scStaticObject* placed;
    };

    std::list<scObject*> updateList; // null: removed during a walk
    std::list<Record> attachments;   // attachment null: removed during a walk
    u32 count = 0;
    int walks = 0;

    static bool InList(const scObject* object) { return object->m_inUpdateList; }
    static void Mark(scObject* object, bool in) { object->m_inUpdateList = in; }

    void Unlink(scObject* object) {
        if (!InList(object))
            return;
        auto it = std::find(updateList.begin(), updateList.end(), object);
        if (it == updateList.end())
            return;
        Mark(object, false);
        --count;
        if (walks > 0)
            *it = nullptr;
        else
            updateList.erase(it);
    }
    void Free(std::list<Record>::iterator it) {
        if (walks > 0)
            it->attachment = nullptr;
        else
            attachments.erase(it);
    }
    // Takes the records of the object out first and deletes their attachments after, so that an
    // attachment's destructor sees consistent lists.
    void DeleteAttachmentsOf(const scObject* object) {
        std::vector<scAttachment*> doomed;
        for (auto it = attachments.begin(); it != attachments.end();) {
            const auto next = std::next(it);
            if (it->attachment && it->object == object) {
                doomed.push_back(it->attachment);
                Free(it);
            }
            it = next;
        }
        for (scAttachment* attachment : doomed)
            delete attachment;
    }
    void EndWalk() {
        if (--walks > 0)
            return;
        updateList.remove(nullptr);
        attachments.remove_if([](const Record& record) { return !record.attachment; });
    }
};

namespace {

// Never destroyed: objects that are statics themselves may leave the lists at exit.
scSceneLists& Lists() {
    static scSceneLists& lists = *new scSceneLists;
    return lists;
}

// Walks stay safe against removals made by what they call.
class WalkGuard {
  public:
    WalkGuard() { ++Lists().walks; }
    ~WalkGuard() { Lists().EndWalk(); }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;
};

// The particle factory's view of these lists.
class SceneParticleScene : public scParticleScene {
  public:
    void AddToUpdateList(scObject* object) override { scAddToUpdateList(object); }
    void DeleteObject(scObject* object) override { scDeleteObject(object); }
    std::vector<scAttachment*> GetAttachmentsOf(scObject* object) override {
        return scGetAttachmentsOf(object);
    }
};

SceneParticleScene g_particleScene;
envPackageCount g_count("sc");

bool IsEmpty(const maBoundingBox& box) {
    return box.minX > box.maxX || box.minY > box.maxY || box.minZ > box.maxZ;
}

void UpdateAttachment(const scSceneLists::Record& record) {
    if (record.node) {
        maMatrix4d world;
        record.node->GetWorldMatrix(world);
        // The joints are in the skin's own space; its model node places them.
        if (auto* skin = dynamic_cast<scSingleSkinObject*>(record.object);
            skin && skin->GetModel()->GetNode())
            world *= skin->GetModel()->GetNode()->GetLocalMatrix();
        maRotation rotation;
        rotation.SetFromMatrix3d(world.GetRotationPart());
        record.attachment->UpdateTransform(world.TransformPoint({0, 0, 0}), rotation);
    } else if (record.movable) {
        record.attachment->UpdateTransform(record.movable->GetPosition(), record.movable->GetRotation());
    } else if (record.placed) {
        record.attachment->UpdateTransform(record.placed->GetPosition(), record.placed->GetRotation());
    }
}

} // namespace

void scAddToUpdateList(scObject* object) {
    scSceneLists& lists = Lists();
    if (lists.InList(object))
        return;
    lists.Mark(object, true);
    lists.updateList.push_back(object);
    ++lists.count;
}

void scRemoveFromUpdateList(scObject* object) {
    Lists().Unlink(object);
    scRemoveAttachmentsOf(object);
}

void scDeleteObject(scObject* object) {
    if (auto* generator = dynamic_cast<scParticleGenerator*>(object))
        scTellGeneratorRemoved(generator);
    scRemoveAttachmentsOf(object);
    Lists().Unlink(object);
    delete object;
}

bool scIsInUpdateList(const scObject* object) {
    return scSceneLists::InList(object);
}

u32 scGetUpdateListCount() {
    return Lists().count;
}

void scForgetObject(scObject* object) {
    Lists().Unlink(object);
    Lists().DeleteAttachmentsOf(object);
    scRemoveSceneObject(object);
}

void scUpdateAll(float time) {
    scSceneLists& lists = Lists();
    {
        WalkGuard guard;
        for (auto it = lists.updateList.begin(); it != lists.updateList.end(); ++it) {
            if (!*it)
                continue;
            scObject* object = *it;
            object->Update(time);
            // The update may have taken the object out, or deleted it.
            if (*it != object)
                continue;
            if (auto* generator = dynamic_cast<scParticleGenerator*>(object);
                generator && generator->IsFinished())
                scDeleteObject(generator);
        }
        for (auto it = lists.attachments.begin(); it != lists.attachments.end(); ++it) {
            if (!it->attachment)
                continue;
            if (it->attachment->IsFinished()) {
                scAttachment* finished = it->attachment;
                lists.Free(it);
                delete finished;
            } else {
                UpdateAttachment(*it);
            }
        }
    }
    scUpdateLensFlares();
}

bool scIsOutsideFrustum(const maMatrix4d& viewProjection, const scObject& object) {
    const maBoundingBox& box = object.GetBoundingBox();
    if (IsEmpty(box))
        return false;
    maVector3d corners[8];
    box.GetCorners(corners);
    float clip[8][4];
    const float* m = viewProjection.m;
    for (int i = 0; i < 8; ++i) {
        const maVector3d& p = corners[i];
        for (int c = 0; c < 4; ++c)
            clip[i][c] = p.x * m[c] + p.y * m[4 + c] + p.z * m[8 + c] + m[12 + c];
    }
    // Near, far, left, right, top, bottom: a plane culls when every corner lies beyond it.
    const auto allOutside = [&clip](auto outside) {
        return std::all_of(std::begin(clip), std::end(clip), [&](const float* v) { return outside(v); });
    };
    return allOutside([](const float* v) { return v[2] <= 0.0f; }) ||
           allOutside([](const float* v) { return v[2] >= v[3]; }) ||
           allOutside([](const float* v) { return v[0] <= -v[3]; }) ||
           allOutside([](const float* v) { return v[0] >= v[3]; }) ||
           allOutside([](const float* v) { return v[1] >= v[3]; }) ||
           allOutside([](const float* v) { return v[1] <= -v[3]; });
}

void scCullObjects(const maMatrix4d& viewProjection) {
    WalkGuard guard;
    for (scObject* object : Lists().updateList) {
        if (!object || !object->IsVisible())
            continue;
        if (object->GetSkipCullOnce()) {
            object->SetSkipCullOnce(false);
            continue;
        }
        object->SetCulled(scIsOutsideFrustum(viewProjection, *object));
    }
}

g3dTransformTreeNode* scGetObjectTree(scObject* object) {
    if (auto* hierarchy = dynamic_cast<scHierarchyObject*>(object))
        return hierarchy->GetModel()->GetNode();
    if (auto* skin = dynamic_cast<scSingleSkinObject*>(object))
        return skin->GetJointTree();
    if (auto* simple = dynamic_cast<scSimpleMovableObject*>(object))
        return simple->GetModel()->GetNode();
    return nullptr;
}

void scAttachToNode(scAttachment* attachment, scObject* object, const char* nodeName) {
    g3dTransformTreeNode* node = scGetObjectTree(object);
    if (node) {
        if (g3dTransformTreeNode* named = node->FindByName(nodeName))
            node = named;
    }
    scAddAttachmentRecord(attachment, object, node);
}

void scAddAttachmentRecord(scAttachment* attachment, scObject* object, g3dTransformTreeNode* node) {
    Lists().attachments.push_back({attachment, node, object, dynamic_cast<scMovableObject*>(object),
                                   dynamic_cast<scStaticObject*>(object)});
}

void scDetachAttachment(scAttachment* attachment) {
    scSceneLists& lists = Lists();
    for (auto it = lists.attachments.begin(); it != lists.attachments.end(); ++it)
        if (it->attachment == attachment) {
            lists.Free(it);
            return;
        }
}

void scRemoveAttachmentsOf(scObject* object) {
    Lists().DeleteAttachmentsOf(object);
}

std::vector<scAttachment*> scGetAttachmentsOf(const scObject* object) {
    std::vector<scAttachment*> found;
    for (const scSceneLists::Record& record : Lists().attachments)
        if (record.attachment && record.object == object)
            found.push_back(record.attachment);
    return found;
}

void scInitialize() {
    if (g_count.IsFirstStart()) {
        dbgInit();
        anInitialize();
        try {
            g3dInitialize();
        } catch (...) {
            anShutdown();
            dbgShutdown();
            throw;
        }
        scLensFlarePackageStart();
        gfErrorHandler::RegisterPackage(scErrorPackage, "ScErrors.tsf");
        scSetParticleScene(&g_particleScene);
    }
    g_count.CountUp();
}

void scShutdown() {
    if (g_count.CountDown()) {
        scSetParticleScene(nullptr);
        scLensFlarePackageStop();
        dbgShutdown();
        g3dShutdown();
        anShutdown();
    }
}

u32 scGetInitCount() {
    return g_count.GetCount();
}
