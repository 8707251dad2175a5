#pragma once
class TWndw;

// Copies the record buffer into the document, then brings the Thick Lines
// box and the connect, large-points and label-points pairs into line.
void unpackRecord(TWndw& window);
