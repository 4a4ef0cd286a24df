// Plays a script with a list of choices and prints the transcript the command
// line tool's `play --choose` prints, byte for byte:
//     mono Transcript.exe [--plain] [--events] [--start NAME] FILE CHOICES
// where CHOICES is a comma list of 1-based question numbers; the options may
// come in any order. With --events, each event a choice causes is printed as
// a "* " line straight after that choice's "> N" line. The exit status is
// the tool's: 1 for a refused choice, 2 for a wrong command line, 3 when the
// script fails.
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Text;
using Murmex;

internal static class Transcript
{
    private const int Refused = 1;
    private const int Usage = 2;
    private const int Failed = 3;
    // More digits than this cannot name one of the few questions offered; the
    // tool refuses such an entry without converting it, and so does this.
    private const int MaxChoiceDigits = 9;

    // Written as bytes, so neither the console's newline nor a byte order
    // mark gets in.
    private static readonly Stream Output = Console.OpenStandardOutput();
    private static readonly Encoding Utf8 = new UTF8Encoding(false);

    private static int Main(string[] args)
    {
        bool plain = false;
        bool events = false;
        string start = "Intro";
        int first = 0;
        for (; first < args.Length && args[first].StartsWith("--", StringComparison.Ordinal); first++)
        {
            if (args[first] == "--plain")
            {
                plain = true;
            }
            else if (args[first] == "--events")
            {
                events = true;
            }
            else if (args[first] == "--start" && first + 1 < args.Length)
            {
                start = args[++first];
            }
            else
            {
                break;
            }
        }
        if (args.Length - first != 2)
        {
            Console.Error.Write("usage: Transcript.exe [--plain] [--events] [--start NAME] FILE CHOICES\n");
            return Usage;
        }
        // Split as the tool's option parser does: empty entries between commas
        // are dropped, while an empty list is one empty entry; commas alone are
        // no list at all.
        string listed = args[first + 1];
        string[] choices = listed.Length == 0 ? new[] { "" } : listed.Split(',').Where(entry => entry.Length > 0).ToArray();
        if (choices.Length == 0)
        {
            Console.Error.Write("CHOICES names no choice\n");
            return Usage;
        }
        try
        {
            return Play(args[first], plain, events, start, choices);
        }
        catch (MurmexException failure)
        {
            Output.Flush();
            Console.Error.Write(TerminalText(failure.Message) + "\n");
            return Failed;
        }
        finally
        {
            Output.Flush();
        }
    }

    private static int Play(string path, bool plain, bool events, string start, string[] choices)
    {
        using (Script script = Script.Load(path, plain))
        using (Game game = script.NewGame())
        {
            Write(TerminalText(script.Title) + "\n\n");
            game.Start(start);
            ShowSituation(game);
            // Only what the choices cause is told, so the listeners come after the start.
            var heard = new List<GameEvent>();
            if (events)
            {
                foreach (EventKind kind in Enum.GetValues(typeof(EventKind)))
                {
                    game.On(kind, heard.Add);
                }
            }
            for (int position = 0; position < choices.Length; position++)
            {
                string choice = choices[position];
                Write("> " + TerminalText(choice) + "\n");
                string entry = choice.Trim(' ', '\t', '\r', '\n');
                if (entry == "q" || entry == "Q")
                {
                    break;
                }
                int count = game.Questions.Count;
                int number = QuestionNumber(entry);
                if (number < 1 || number > count)
                {
                    // Refused as the tool refuses it; the choices after it are not applied.
                    Write(Refusal(entry, number, count) + "\n");
                    Output.Flush();
                    string rest = position + 1 < choices.Length ? "; the choices after it were not applied" : "";
                    Console.Error.Write("choice " + (position + 1) + " of " + choices.Length + " in --choose (\"" +
                                        TerminalText(choice) + "\") was refused" + rest + "\n");
                    return Refused;
                }
                Step step = game.Choose(number - 1);
                foreach (GameEvent told in heard)
                {
                    Write(EventLine(told) + "\n");
                }
                heard.Clear();
                if (step == Step.Failed)
                {
                    Output.Flush();
                    Console.Error.Write(TerminalText(game.LastError) + "\n");
                    return Failed;
                }
                Write("\n");
                ShowSituation(game);
            }
        }
        return 0;
    }

    // One event as every transcript program prints it.
    private static string EventLine(GameEvent told)
    {
        string line = "* " + told.Kind.Name();
        switch (told.Kind)
        {
            case EventKind.Variable:
                return line + " " + TerminalText(told.Name) + " " + (told.Present ? told.Value.ToString() : "removed");
            case EventKind.Money:
                return line + " " + told.Value;
            case EventKind.ItemGiven:
                return line + " " + TerminalText(told.Name) + " " + told.Value;
            case EventKind.ItemTaken:
            case EventKind.HandOver:
                return line + " " + TerminalText(told.Name);
            default:
                return line;
        }
    }

    // The number an entry names, or -1 when it is not a plain number; more
    // than nine digits cannot name a question and are not converted.
    private static int QuestionNumber(string entry)
    {
        if (entry.Length == 0 || entry.Length > MaxChoiceDigits)
        {
            return -1;
        }
        foreach (char digit in entry)
        {
            if (digit < '0' || digit > '9')
            {
                return -1;
            }
        }
        return int.Parse(entry);
    }

    private static string Refusal(string entry, int number, int count)
    {
        string hint = count == 1 ? "choose 1, or q to quit." : "choose 1 to " + count + ", or q to quit.";
        if (entry.Length == 0)
        {
            return "Please " + hint;
        }
        return number >= 0 ? "There is no question " + entry + ": " + hint
                           : "\"" + TerminalText(entry) + "\" is not a question number: " + hint;
    }

    private static void ShowSituation(Game game)
    {
        Write(TerminalText(game.Character) + ": " + TerminalText(game.Answer) + "\n");
        int number = 1;
        foreach (Question question in game.Questions)
        {
            Write("  " + number++ + ". " + TerminalText(question.Label) + "\n");
        }
    }

    // The text with control characters written as \xNN, so that a carriage
    // return or an escape in a script cannot move the terminal's cursor: C0
    // controls but the tab, DEL, and the C1 controls.
    private static string TerminalText(string text)
    {
        var shown = new StringBuilder(text.Length);
        foreach (char character in text)
        {
            if ((character < 0x20 && character != '\t') || (character >= 0x7F && character < 0xA0))
            {
                shown.Append("\\x").Append(((int)character).ToString("x2"));
            }
            else
            {
                shown.Append(character);
            }
        }
        return shown.ToString();
    }

    private static void Write(string text)
    {
        byte[] bytes = Utf8.GetBytes(text);
        Output.Write(bytes, 0, bytes.Length);
    }
}
