#pragma once
// Reading one XML element into a reflected value, guided only by the type records.
//
// The element's tag names the value's type. Built-in values carry their value in the "value"
// attribute; other values hold one child element per member set, each holding one value
// element. A member's own type decides how its value element is read: built-in members take
// the "value" attribute at their own width (narrow and enumeration members as range-checked
// integers), class members take a nested value whose tag must name the member's type.
// Refused input (unknown or uncreatable types, mismatched tags, text that is no number,
// values out of range) logs a warning and leaves the value as it was; nothing is written
// outside the member targeted.
class TiXmlElement;

namespace quellor {

class Variable;

// With a null target, creates the value named by the element's tag and returns a new box for
// it that does not own it (the caller takes both), or null when the tag names no type that
// can be created. With a target, fills the value it holds (the tag must name its type) and
// returns the target.
Variable* ReadVariable(TiXmlElement* element, Variable* target);

} // namespace quellor
