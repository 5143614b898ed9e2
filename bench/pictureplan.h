#pragma once

#include <string>

// How the pictures of one part of a source split, when it is converted to a lower constant rate,
// between what an engine that must stay frame-exact has to decode and what it may leave out.
struct TPictureCounts {
    int keptReference = 0;
    // Dropped, but later pictures are predicted from them: decoded all the same.
    int droppedReference = 0;
    int keptOther = 0;
    // Dropped and referred to by nothing: the only pictures that need not be decoded.
    int droppedOther = 0;

    int Total() const { return keptReference + droppedReference + keptOther + droppedOther; }
    int Dropped() const { return droppedReference + droppedOther; }
    int Other() const { return keptOther + droppedOther; }
};

// The pictures of [startSeconds, startSeconds + lengthSeconds) of the file's first video stream.
// Kept follows the rate conversion: the last picture of each output slot. H.264, HEVC, MPEG-1/2
// and MPEG-4 Part 2 say in each picture whether others may refer to it; pictures of other codecs
// all count as references.
TPictureCounts CountPictures(const std::string& path, double startSeconds, double lengthSeconds,
                             double outputRate);
