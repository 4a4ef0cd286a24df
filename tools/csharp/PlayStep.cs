// The least program a user of the installed packages writes: loads the demo,
// starts it, chooses the first question and prints what was said. Exits 1
// when the choice fails.
using System;
using Murmex;

internal static class PlayStep
{
    private static int Main(string[] args)
    {
        using (Script script = Script.Load(args[0], plain: true))
        using (Game game = script.NewGame())
        {
            game.Start("Intro");
            Console.WriteLine(game.Character + ": " + game.Answer);
            Step step = game.Choose(0);
            Console.WriteLine(step + " -> " + game.Character + ": " + game.Answer);
            return step == Step.Failed ? 1 : 0;
        }
    }
}
