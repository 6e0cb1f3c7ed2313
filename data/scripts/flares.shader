// Lens flares: ten sprites along the line from the view centre through a bright light
// (the level's "lf_..." lights). Each adds its texture, tinted by its vertex colour,
// over the scene: no depth writes, seen from both sides.

textures\common\flare00
{
	cull none
	{
		map textures\common\flare00
		blendfunc add
		rgbgen vertex
		depthwritenone
	}
}

textures\common\flare01
{
	cull none
	{
		map textures\common\flare01
		blendfunc add
		rgbgen vertex
		depthwritenone
	}
}

textures\common\flare02
{
	cull none
	{
		map textures\common\flare02
		blendfunc add
		rgbgen vertex
		depthwritenone
	}
}

textures\common\flare03
{
	cull none
	{
		map textures\common\flare03
		blendfunc add
		rgbgen vertex
		depthwritenone
	}
}

textures\common\flare04
{
	cull none
	{
		map textures\common\flare04
		blendfunc add
		rgbgen vertex
		depthwritenone
	}
}

textures\common\flare05
{
	cull none
	{
		map textures\common\flare05
		blendfunc add
		rgbgen vertex
		depthwritenone
	}
}
