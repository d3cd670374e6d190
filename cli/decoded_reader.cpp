// The decoded reader. Ahead, the pieces pass through a short queue; a failure on either side stops
// the other, and the reader's failure is rethrown on the calling thread once it has finished.
#include "cli/decoded_reader.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/source_reader.h"

namespace veltrin::cli {

namespace {

// Feeds bytes through the decoder to a function.
class DecodingReceiver : public ByteReceiver {
 public:
  DecodingReceiver(PageDecoder& decoder, std::function<void(std::u16string&)> deliver)
      : decoder_(decoder), deliver_(std::move(deliver)) {}
  void ContentType(std::string_view content_type) override {
    decoder_.SetContentType(content_type);
  }
  void Bytes(std::string_view bytes) override {
    decoder_.Decode(bytes, units_);
    deliver_(units_);
  }
  void Finish() {
    decoder_.Finish(units_);
    deliver_(units_);
  }

 private:
  PageDecoder& decoder_;
  std::function<void(std::u16string&)> deliver_;  // takes the text, leaving the buffer empty
  std::u16string units_;                          // the text of the latest bytes
};

// The pieces between the reading thread and the calling one.
class PieceQueue {
 public:
  // Waits for room and adds the piece (taking its contents); false when the consumer stopped.
  bool Push(std::u16string& piece) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return pieces_.size() < kMaxPieces || stopped_; });
    if (stopped_) return false;
    pieces_.push_back(std::move(piece));
    piece.clear();
    changed_.notify_all();
    return true;
  }
  // Waits for a piece; false when the producer has finished and all pieces are taken.
  bool Pop(std::u16string& piece) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !pieces_.empty() || finished_; });
    if (pieces_.empty()) return false;
    piece = std::move(pieces_.front());
    pieces_.pop_front();
    changed_.notify_all();
    return true;
  }
  void Finish(std::exception_ptr failure) {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    failure_ = failure;
    changed_.notify_all();
  }
  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  std::exception_ptr Failure() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
  }

 private:
  static constexpr std::size_t kMaxPieces = 4;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::u16string> pieces_;  // decoded, not yet consumed
  bool finished_ = false;              // the producer is done
  bool stopped_ = false;               // the consumer gave up
  std::exception_ptr failure_;         // what ended the producer, if it failed
};

// Thrown inside the reading thread when the consumer has stopped.
struct ConsumerStopped {};

}  // namespace

void ReadDecoded(const std::u16string& source, StandardStreams& streams, bool show_progress,
                 PageDecoder& decoder, bool ahead,
                 const std::function<void(std::u16string_view)>& consume) {
  if (!ahead) {
    DecodingReceiver receiver(decoder, [&](std::u16string& units) {
      consume(units);
      units.clear();
    });
    ReadSource(source, streams, show_progress, receiver);
    receiver.Finish();
    return;
  }
  PieceQueue queue;
  // Stops a read that waits for bytes (a download, standard input) once the consumer has failed.
  const auto cancellation = std::make_shared<Cancellation>();
  std::thread reader([&] {
    try {
      DecodingReceiver receiver(decoder, [&](std::u16string& units) {
        if (!queue.Push(units)) throw ConsumerStopped{};
      });
      ReadSource(source, streams, show_progress, receiver, cancellation);
      receiver.Finish();
      queue.Finish(nullptr);
    } catch (const ConsumerStopped&) {
      queue.Finish(nullptr);
    } catch (...) {
      queue.Finish(std::current_exception());
    }
  });
  try {
    std::u16string piece;
    while (queue.Pop(piece)) consume(piece);
  } catch (...) {
    queue.Stop();
    cancellation->Cancel();
    reader.join();
    throw;
  }
  reader.join();
  if (std::exception_ptr failure = queue.Failure()) std::rethrow_exception(failure);
}

}  // namespace veltrin::cli
