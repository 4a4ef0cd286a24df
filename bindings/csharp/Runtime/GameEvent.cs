// What a listener hears, copied out of the library's record, whose texts live
// only for the call.
using System;

namespace Murmex
{
    public enum EventKind
    {
        // A variable was set to another value, created or removed.
        Variable = 1,
        // Money changed.
        Money = 2,
        // A unit handed the conversation to another character.
        HandOver = 3,
        // A conversation ended.
        Ended = 4,
        // A unit gave an item (Name, and the count as Value), or took one.
        ItemGiven = 5,
        ItemTaken = 6,
        // Told once a saved game was restored, or the game reset.
        Restored = 7,
        Reset = 8,
    }

    /// <summary>
    /// The names every language gives the event kinds ("variable", "money",
    /// "handover", "ended", "item-given", "item-taken", "restored", "reset"),
    /// which Game.On also takes.
    /// </summary>
    public static class EventKinds
    {
        // Indexed by the kind's number; the library numbers kinds from 1.
        private static readonly string[] Names =
        {
            null, "variable", "money", "handover", "ended", "item-given", "item-taken", "restored", "reset",
        };

        /// <summary>The kind's name; ArgumentOutOfRangeException for a number no kind has.</summary>
        public static string Name(this EventKind kind)
        {
            int number = (int)kind;
            if (number < 1 || number >= Names.Length)
            {
                throw new ArgumentOutOfRangeException("kind", "no event kind is numbered " + number);
            }
            return Names[number];
        }

        /// <summary>The kind a name gives, compared exactly; false for any other name.</summary>
        public static bool TryParse(string name, out EventKind kind)
        {
            int number = name == null ? -1 : Array.IndexOf(Names, name);
            kind = number > 0 ? (EventKind)number : 0;
            return number > 0;
        }

        /// <summary>The kind a name gives; ArgumentOutOfRangeException for any other name.</summary>
        public static EventKind Parse(string name)
        {
            if (name == null)
            {
                throw new ArgumentNullException("name");
            }
            EventKind kind;
            if (!TryParse(name, out kind))
            {
                throw new ArgumentOutOfRangeException("name", "no event kind is named \"" + name + "\"");
            }
            return kind;
        }
    }

    public sealed class GameEvent
    {
        public EventKind Kind { get; private set; }
        // Variable: its name; hand-over: the character's; item: the item's;
        // otherwise empty.
        public string Name { get; private set; }
        public byte[] NameBytes { get; private set; }
        // Variable: its value (0 once removed); money: the new amount; item
        // given: the count.
        public int Value { get; private set; }
        // The value or amount before (0 for a new variable).
        public int Previous { get; private set; }
        // Variable: true while it exists, false once removed.
        public bool Present { get; private set; }
        // Ended: the ending unit's answer without markers, which no window shows.
        public string Answer { get; private set; }
        public byte[] AnswerBytes { get; private set; }

        internal GameEvent(Native.NativeEvent record)
        {
            Kind = (EventKind)record.Kind;
            Name = Native.CopyText(record.NameText);
            NameBytes = Native.CopyBytes(record.Name);
            Value = record.Value;
            Previous = record.Previous;
            Present = record.Present != 0;
            Answer = Native.CopyText(record.AnswerText);
            AnswerBytes = Native.CopyBytes(record.Answer);
        }
    }
}
