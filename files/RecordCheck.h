#pragma once
// The limits a record must keep before any of it may reach the document: the
// document's arrays, the painter's integer arithmetic and the value-to-pixel
// rules all rely on them.
//
// One table of rules serves two readers. What we write is held to every rule
// (strict): a record we save never breaks one. What a user's file holds is
// repaired rule by rule, each repair said in plain words, and refused only
// where the bytes hold no graph at all (point counts no graph can have,
// labels beyond the twenty slots). Values the old program left behind
// through ordinary use (a percentage outside 0..100, a Y range of zero, an
// X axis extended below none) are kept as they stand: the strict rules
// accept them, so such a graph saves and reopens unchanged.

#include "files/GraphRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Empty when the record keeps every limit; otherwise the first problem
// found, as a sentence fragment for a message ("curve 2 claims 300 points; a
// curve holds at most 250").
std::string checkRecord(const GraphRecord& rec);

// Repairs in place whatever can be repaired and appends one plain sentence
// per repair to `repairs`. Returns empty when the record now passes
// checkRecord, otherwise why the bytes hold no graph (the record is then
// left in an unspecified state).
std::string repairRecord(GraphRecord& rec, std::vector<std::string>& repairs);

// The record in a file's bytes, whatever became of the file on its way:
// a copy made in text mode gets its line ends back, a file that lost its end
// gets the fields of a new graph for what is missing, and the record is then
// repaired. `data` holds the file's first min(size, kMostRecordFileBytes)
// bytes, `size` is the file's whole size. Returns empty on success, else the refusal's reason (naming the
// size where it is not a record's). `rec` is written only on success.
std::string recordFromBytes(
    const std::uint8_t* data, std::size_t size, GraphRecord& rec, std::vector<std::string>& repairs);

// The repairs as one text for a message or a line of output.
std::string repairSummary(const std::vector<std::string>& repairs, const char* separator = " ");

// The most bytes a file's reader needs: a record copied in text mode has at
// most one added byte per byte, and one more tells that a file is longer.
constexpr std::size_t kMostRecordFileBytes = 2 * kGraphRecordSize + 1;
