// Plays a script with a list of choices and prints the transcript the command
// line tool's `play --choose` prints, byte for byte:
//     mono Transcript.exe [--plain] [--start NAME] FILE CHOICES
// where CHOICES is a comma list of 1-based question numbers. The exit status
// is the tool's: 1 for a refused choice, 3 when the script fails.
using System;
using System.IO;
using System.Text;
using Murmex;

internal static class Transcript
{
    private const int Refused = 1;
    private const int Failed = 3;

    // Written as bytes, so neither the console's newline nor a byte order
    // mark gets in.
    private static readonly Stream Output = Console.OpenStandardOutput();
    private static readonly Encoding Utf8 = new UTF8Encoding(false);

    private static int Main(string[] args)
    {
        bool plain = args.Length > 0 && args[0] == "--plain";
        int first = plain ? 1 : 0;
        string start = "Intro";
        if (args.Length - first == 4 && args[first] == "--start")
        {
            start = args[first + 1];
            first += 2;
        }
        if (args.Length - first != 2)
        {
            Console.Error.Write("usage: Transcript.exe [--plain] [--start NAME] FILE CHOICES\n");
            return 2;
        }
        try
        {
            return Play(args[first], plain, start, args[first + 1].Split(','));
        }
        catch (MurmexException failure)
        {
            Output.Flush();
            Console.Error.Write(failure.Message + "\n");
            return Failed;
        }
        finally
        {
            Output.Flush();
        }
    }

    private static int Play(string path, bool plain, string start, string[] choices)
    {
        using (Script script = Script.Load(path, plain))
        using (Game game = script.NewGame())
        {
            Write(script.Title + "\n\n");
            game.Start(start);
            ShowSituation(game);
            foreach (string choice in choices)
            {
                Write("> " + choice + "\n");
                string entry = choice.Trim();
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
                    Console.Error.Write("choice \"" + choice + "\" was refused\n");
                    return Refused;
                }
                if (game.Choose(number - 1) == Step.Failed)
                {
                    Output.Flush();
                    Console.Error.Write(game.LastError + "\n");
                    return Failed;
                }
                Write("\n");
                ShowSituation(game);
            }
        }
        return 0;
    }

    // The number an entry names, or -1 when it is not a plain number; more
    // than nine digits cannot name a question and are not converted.
    private static int QuestionNumber(string entry)
    {
        if (entry.Length == 0 || entry.Length > 9)
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
                           : "\"" + entry + "\" is not a question number: " + hint;
    }

    private static void ShowSituation(Game game)
    {
        Write(game.Character + ": " + game.Answer + "\n");
        int number = 1;
        foreach (Question question in game.Questions)
        {
            Write("  " + number++ + ". " + question.Label + "\n");
        }
    }

    private static void Write(string text)
    {
        byte[] bytes = Utf8.GetBytes(text);
        Output.Write(bytes, 0, bytes.Length);
    }
}
