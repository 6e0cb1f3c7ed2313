// The engine's own 2D materials: the fixed font (a 16 x 16 grid of characters), the
// console background and the overlay kept in the variable "HmlaHack1".
// The text batcher winds its quads clockwise on screen, so every 2D material says
// "cull none"; with the default back-face culling they would not be drawn. At depth 0
// "lequal" always passes: "depthfunc always" spares the depth buffer (and the opaque
// console writes none).

gfx/2d/bigchars
{
	nopicmip
	nomipmaps
	cull none
	{
		map gfx/2d/bigchars
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

console
{
	nopicmip
	cull none
	{
		map gfx/2d/console
		rgbgen identity
		depthfunc always
		depthwritenone
	}
	{
		// slowly drifting noise over the background
		map gfx/2d/console_noise
		blendfunc add
		tcmod scroll 0.02 0.1
		tcmod scale 2 2
		depthfunc always
	}
}

HmlaHack1
{
	nopicmip
	cull none
	sort nearest
	{
		clampmap gfx/2d/hmla
		blendfunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA
		rgbgen vertex
		alphagen wave sin 0.6 0.2 0 0.1
		depthfunc always
	}
}
