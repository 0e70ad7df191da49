// The window's controls as the model and the renderer see them.
//
// The settings live in the controls; there is no settings record. The window
// implements this interface over its real controls, the tests over plain
// values. Positions are the controls' integer positions in their own units.
#pragma once

namespace varek {

class Controls {
 public:
  virtual ~Controls() = default;

  virtual int ScrollBar1() const = 0;  // turn about the tube axis, degrees, -180..180
  virtual int ScrollBar2() const = 0;  // turn about the vertical axis, degrees, -180..0
  virtual int ScrollBar3() const = 0;  // deflection amplitude, 0..300
  virtual int ScrollBar4() const = 0;  // accelerating voltage, V, 50..2000
  virtual int ScrollBar7() const = 0;  // coil current, mA, 0..3000
  virtual bool AblenkEin() const = 0;  // deflection voltage on
  virtual bool AblenkAus() const = 0;  // deflection voltage off
  virtual bool Gleichspannung() const = 0;   // steady deflection voltage
  virtual bool Wechselspannung() const = 0;  // alternating deflection voltage
  virtual bool CheckBox1() const = 0;        // "Schirm durchsichtig"
};

// Lets pending window messages run; called every 30 integration steps.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void Pump() = 0;
};

// The controls and the pump in force. Both must be bound before the first
// computation or drawing; binding nullptr unbinds.
void BindControls(Controls* controls);
void BindMessagePump(MessagePump* pump);
Controls& BoundControls();
MessagePump& BoundMessagePump();

}  // namespace varek
