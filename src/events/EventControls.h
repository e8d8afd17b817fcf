#pragma once

#include "platform/Controls.h"

class QComboBox;

// Small helpers the event windows share for building and driving their controls.

// Selects a list entry by code so that the list's handler runs once, as a click
// would, even when the entry was already selected.
void SelectEntry(QComboBox* list, int index);
