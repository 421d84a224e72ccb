#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"

#include <vector>

class g3dTransformTreeNode;
class scAttachment;
class scObject;

// The scene package's program-wide lists: the update list of objects updated and culled once a frame
// in registration order, and the attachments that follow nodes of those objects. The lists never own
// an object, except through scDeleteObject; they own the attachments.

// Appends the object; an object already in the list stays where it is.
void scAddToUpdateList(scObject* object);
// Takes the object out (the owner keeps it) with every attachment placed on it.
void scRemoveFromUpdateList(scObject* object);
// Tells the handlers watching the object as a particle generator, in registration order, deletes the
// attachments on it, takes it out of the list and deletes it.
void scDeleteObject(scObject* object);
bool scIsInUpdateList(const scObject* object);
// Takes a dying object out of the list with the attachments on it; its destructor calls this, so that
// an owner deleting a registered object leaves nothing dangling.
void scForgetObject(scObject* object);
u32 scGetUpdateListCount();

// Updates every object with the game time, deletes the particle generators that report finished, moves
// the attachments along their nodes (deleting finished ones) and updates the lens flares. An update may
// add or remove any object: removed entries are skipped and unlinked once the walk is done.
void scUpdateAll(float time);
// Culls each visible object of the list whose world box lies wholly outside one plane of the frustum.
void scCullObjects(const maMatrix4d& viewProjection);
// True when the box lies wholly outside one plane of the frustum; an empty box is never outside.
bool scIsOutsideFrustum(const maMatrix4d& viewProjection, const scObject& object);

// The attachment follows the named node of the object's tree (the root when no node has the name), or
// the object itself when it has no tree.
void scAttachToNode(scAttachment* attachment, scObject* object, const char* nodeName);
void scAddAttachmentRecord(scAttachment* attachment, scObject* object, g3dTransformTreeNode* node);
// Forgets the attachment without deleting it: its owner keeps it.
void scDetachAttachment(scAttachment* attachment);
// Deletes every attachment placed on the object.
void scRemoveAttachmentsOf(scObject* object);
std::vector<scAttachment*> scGetAttachmentsOf(const scObject* object);
// The tree attachments and projected textures follow: the hierarchy's model tree, the skin's joints,
// the simple object's model node; none for other objects.
g3dTransformTreeNode* scGetObjectTree(scObject* object);

// Reference-counted start and stop of the scene package. The first start starts dbg, an and g3d (the
// default render lists unless the application started g3d first), the lens flares, registers
// "ScErrors.tsf" as error package 12 and makes these lists the particle factory's scene. A stop with
// nothing started does nothing.
void scInitialize();
void scShutdown();
u32 scGetInitCount();

constexpr u32 scErrorPackage = 12;
