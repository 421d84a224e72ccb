#pragma once

class coCoasterPiece;
class coCrossSection;
class coSceneObjectSet;
class coTrackDefinition;

// A placed piece made drawn track: each section that applies to it swept along its centre line, and the
// crossbars repeated along it, into the piece's mesh set.

// The sections, then the crossbars.
void coBuildPieceGeometry(const coTrackDefinition& definition, const coCoasterPiece& piece,
                          coSceneObjectSet& set);
// Every section the piece's element and tube flag call for, in definition order.
void coExtrudeCrossSections(const coTrackDefinition& definition, const coCoasterPiece& piece,
                            coSceneObjectSet& set);
// Every crossbar that has a model, spaced by the "Crossbar Detail" preference.
void coPlaceCrossbars(const coTrackDefinition& definition, const coCoasterPiece& piece,
                      coSceneObjectSet& set);

// Whether the section is swept along a piece of that track element and tube flag.
bool coSectionApplies(const coCrossSection& section, int element, int tube);
// The rings of the section along a piece of length L: a sample spacing decides if it has one, else the
// level of detail; at least 2. Cut down, with a warning, so that the section's vertices and indices fit
// in 16 bits.
int coSectionRingCount(const coCrossSection& section, float length);
// Crossbars along a piece of length L with the crossbar spacing and the detail setting: none when the
// detail leaves no spacing, and at most 1000 (with a warning).
int coCrossbarCount(float length, float spacing, float detail);
