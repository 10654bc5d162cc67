#include "platform/SerialPort.h"

SerialPort::~SerialPort() = default;
