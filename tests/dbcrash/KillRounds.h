#pragma once

// The crash harness's parent: kills the child of a case at random moments inside
// its saves, checks the stores after every kill and now and then starts the real
// program on what is left.

#include "CrashCases.h"

#include <QList>
#include <QString>

#include <random>
#include <utility>

struct KillCounts {
    int kills = 0;
    int insideSave = 0;     // the kill fell between a save's start and its acknowledgement
    int failedStarts = 0;   // the real program ended, or asked something, on what was left
    int damaged = 0;
    int lost = 0;
    int outOfStep = 0;
    int refused = 0;
    int acknowledged = 0;   // saves the child reported done, over all rounds
    QString firstFault;

    bool Clean() const { return failedStarts + damaged + lost + outOfStep + refused == 0; }
};

// `kills` rounds in fresh folders; the real program starts after every
// `startEvery`-th round and after the last.
KillCounts RunKillRounds(const CrashCase& crashCase, int kills, int startEvery, std::mt19937& random);

// The table of the counts, one row per case, with its consistency rule beside it.
QString KillTable(const QList<std::pair<const CrashCase*, KillCounts>>& rows);
