#include "update/socket_layer.h"

SocketLayer::SocketLayer() : started_(true) {}
SocketLayer::~SocketLayer() = default;
