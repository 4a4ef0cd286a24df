// Construction and destruction of the engine; its script is the model's.
#include "murmex/conversation_engine.h"

namespace murmex {

ConversationEngine::ConversationEngine() = default;

ConversationEngine::~ConversationEngine() = default;

} // namespace murmex
