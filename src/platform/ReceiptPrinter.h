#pragma once
// CUPS queues by name: whether one exists, what identifies it, and jobs sent
// to it through libcups, which reports a refused job. The machine's default
// printer is only ever read.

#include "platform/PrintFrame.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ReceiptPrinter {

bool QueueExists(const std::string& queue);
// The machine's default queue; empty when there is none.
std::string DefaultQueue();
// The make and model and the device URI of a queue (empty when unknown).
void Identify(const std::string& queue, std::string& makeAndModel, std::string& deviceUri);

// Sends one document of the given MIME type as a job to the queue.
PrintJobResult SubmitJob(const std::string& queue, const std::string& title, const char* format,
                         const void* data, std::size_t size, int copies = 1);
// The drawer kick: the bytes as a raw job, passed to the printer unchanged.
PrintJobResult KickDrawer(const std::string& queue, const std::vector<std::uint8_t>& bytes);

}  // namespace ReceiptPrinter
