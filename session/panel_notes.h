// panel_notes.h - what a window's status line says about the plug-in that
// the plug-in does not say itself, worked out from what the host can see.
#ifndef VANTOREL_SESSION_PANEL_NOTES_H
#define VANTOREL_SESSION_PANEL_NOTES_H

#include <string>

#include "sim/host.h"

namespace session {

// After a Range edit: the plug-in sends a light's range on OK only when its
// range is limited (bit 0 of its flags), so an edit of an unlimited light's
// range goes nowhere. The host cannot see the plug-in's rows; it sees the
// list's last paint, whose names come in row order, one row per light of the
// scene in the scene's order. So the lights drawn on a selection bar are
// taken by their position, and their flags read from the scene: "Range is not
// sent for Key: its range is not limited", or "" when every one is limited.
// (A paste carries the copied light's flag into the rows it writes, which the
// scene does not show; then the note follows the scene.)
std::string rangeNotSentNote(const sim::Host &host);

}  // namespace session

#endif
