#pragma once
#include "Engine/App/Ch/chTxtReader.h"

#include <string>

class chReader;
class coSupportMaker;
struct coSupportGeometry;
struct coSupportPlane;

// "Support.def": a "Support" chunk of pole sections ("Pole", in the cross-section vocabulary), wall
// planes ("Plane"), models ("PoleGeom", "JointGeom", "HalfJoint": "Geometry", "Name") and the numbers
// "XOffset", "YOffset" and "SupportAngle".

// The cross-section names, then the support definition's own.
void coRegisterSupportTagNames(chTagMap& tags);
// Enters the first chunk, whatever its id, and appends its entries to the maker in file order, each once
// read whole: a chunk error passes to the caller and leaves the entries before it in the maker.
void loadSupportDefinitions(chReader& reader, coSupportMaker& maker);
void coReadSupportGeometry(chReader& reader, coSupportGeometry& entry);
void coReadSupportPlane(chReader& reader, coSupportPlane& plane);
// Reads the file from the current coaster type's folder into the maker.
void coLoadSupportDefinition(const std::string& fileName, coSupportMaker& maker);
