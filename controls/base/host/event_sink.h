// The connection from a control to the form's handler of its events: events are raised
// synchronously, and in/out parameters are references that the control reads back afterwards.
#pragma once

#include <utility>

namespace veltrin::controls {

// `Events` is an interface of event methods (usually with empty default bodies) that the form
// implements; one sink per control instance.
template <typename Events>
class EventSink {
 public:
  // Connects the handler (null disconnects); the handler must outlive the connection.
  void Connect(Events* handler) noexcept { handler_ = handler; }
  Events* Handler() const noexcept { return handler_; }

  // Calls the event on the connected handler, if any; exceptions of the handler propagate.
  template <typename... Params, typename... Args>
  void Raise(void (Events::*event)(Params...), Args&&... args) const {
    if (handler_) (handler_->*event)(std::forward<Args>(args)...);
  }

 private:
  Events* handler_ = nullptr;  // not owned
};

}  // namespace veltrin::controls
