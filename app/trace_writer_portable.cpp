// Without a pipe of its own on descriptor 1, the game prints its traces
// straight to standard output from the GUI thread.
#include "app/trace_writer.h"

struct TraceWriter::Pipe
{
};

TraceWriter::TraceWriter() = default;

TraceWriter::~TraceWriter() = default;
